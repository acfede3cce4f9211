#include "app/startup.h"

#include "app/ansi_path.h"

#include <windows.h>

std::optional<std::string> startupPath(int argc, const wchar_t* const* argv) {
    if (argc != 2 || argv == nullptr)
        return std::nullopt;
    return ansiPath(argv[1]);
}

int runMessageLoop() {
    MSG msg = {};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
