#include "app/startup.h"

#include <windows.h>

std::optional<std::wstring> startupPath(int argc, const wchar_t* const* argv) {
    if (argc != 2 || argv == nullptr || argv[1] == nullptr)
        return std::nullopt;
    return std::wstring(argv[1]);
}

int runMessageLoop() {
    MSG msg = {};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
