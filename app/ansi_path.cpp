#include "app/ansi_path.h"

#include <windows.h>

std::optional<std::string> ansiPath(const wchar_t* path) {
    if (path == nullptr)
        return std::nullopt;
    // Sized by a first call: a path of any length is held whole.
    int size =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path, -1, nullptr, 0, "?", nullptr);
    if (size <= 0)
        return std::nullopt;
    std::string ansi(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path, -1, ansi.data(), size, "?", nullptr);
    ansi.resize(static_cast<size_t>(size) - 1); // the converted NUL
    return ansi;
}
