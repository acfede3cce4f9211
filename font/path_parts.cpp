#include "font/path_parts.h"

#include <windows.h>

const char* fileNamePart(const char* path) {
    const char* part = path;
    for (const char* p = path; *p != '\0';) {
        char c = *p;
        p = CharNextA(p);
        if (c == ':' || c == '\\' || c == '/')
            part = p;
    }
    return part;
}
