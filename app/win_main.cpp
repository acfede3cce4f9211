// Process entry: value names, window classes, the main window, the one
// command-line argument, the message loop, then the open font is released.
#include "app/command_ids.h"
#include "app/command_line.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "tables/os2/value_names.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int nCmdShow) {
    buildValueNameTables();
    if (!registerWindowClasses())
        return 0;
    HWND mainWindow = createMainWindow(nCmdShow);
    if (mainWindow == nullptr)
        return 0;

    CommandLine commandLine;
    // Lives until WinMain returns: the posted command points into it.
    std::optional<std::wstring> path = startupPath(commandLine.count(), commandLine.arguments());
    if (path)
        PostMessageW(mainWindow, WM_COMMAND, kCmdLoadFont, reinterpret_cast<LPARAM>(path->c_str()));

    int exitCode = runMessageLoop();
    freeFontFile(fileImage, otf);
    return exitCode;
}
