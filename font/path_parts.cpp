#include "font/path_parts.h"

const wchar_t* fileNamePart(const wchar_t* path) {
    const wchar_t* part = path;
    for (const wchar_t* p = path; *p != L'\0'; ++p)
        if (*p == L':' || *p == L'\\' || *p == L'/')
            part = p + 1;
    return part;
}
