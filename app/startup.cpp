#include "app/startup.h"

#include <windows.h>

std::optional<std::string> startupPath(int argc, const wchar_t* const* argv) {
    if (argc != 2 || argv == nullptr || argv[1] == nullptr)
        return std::nullopt;
    // Sized by a first call: a path of any length is held whole.
    int size = WideCharToMultiByte(CP_ACP, 0, argv[1], -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return std::nullopt;
    std::string path(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, argv[1], -1, path.data(), size, nullptr, nullptr);
    path.resize(static_cast<size_t>(size) - 1); // the converted NUL
    return path;
}

int runMessageLoop() {
    MSG msg = {};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
