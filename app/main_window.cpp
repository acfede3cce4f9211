#include "app/main_window.h"

#include "app/about_box.h"
#include "app/base_window.h"
#include "app/command_ids.h"
#include "app/dropped_file.h"
#include "app/file_dialogs.h"
#include "app/placeholder_pane.h"
#include "app/table_panes.h"
#include "tables/hhea/line_preview.h"
#include "font/path_parts.h"
#include "res/resource.h"

#include <commctrl.h>

#include <string>
#include <vector>

FileImage fileImage;
int32_t fileLength = 0;
std::unique_ptr<OTF> otf;

HWND hBaseWindow = nullptr;
HWND hStatusBar = nullptr;

namespace {

#ifndef _WIN64
// The 32-bit layout the window classes are registered with.
static_assert(sizeof(WNDCLASSEXA) == 48, "WNDCLASSEXA is 48 bytes in 32-bit Windows");
#endif

constexpr char kMainClass[] = "fontab";
constexpr char kTitle[] = "fontab - Tablesmith";
const HBRUSH kPaneBrush = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_MENU + 1));

WNDCLASSEXA paneClass(const char* name, WNDPROC procedure) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_VREDRAW | CS_HREDRAW;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = kPaneBrush;
    windowClass.lpszClassName = name;
    return windowClass;
}

WNDCLASSEXA mainClass() {
    HINSTANCE module = GetModuleHandleA(nullptr);
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_VREDRAW | CS_HREDRAW;
    windowClass.lpfnWndProc = mainWindowProc;
    windowClass.hInstance = module;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kMainClass;
    windowClass.hIcon = LoadIconA(module, MAKEINTRESOURCEA(IDI_FONTAB));
    windowClass.lpszMenuName = "MENU1";
    windowClass.hIconSm = static_cast<HICON>(
        LoadImageA(module, MAKEINTRESOURCEA(IDI_FILE), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    return windowClass;
}

void setStatusText(const char* text) {
    SendMessageA(hStatusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text));
}

// The open font's path as it was opened: the question about its edits names it.
std::string fontPath;

} // namespace

void noteFontEdited() {
    HWND main = hBaseWindow ? GetParent(hBaseWindow) : nullptr;
    if (main == nullptr)
        return;
    std::string title = kTitle;
    if (otf && otf->hasUnsavedEdits())
        title += " *";
    SetWindowTextA(main, title.c_str());
}

namespace {

void onCreate(HWND hwnd) {
    InitCommonControls();
    registerBaseWindowClass(); // already registered by an earlier main window: fine
    hBaseWindow = CreateWindowExA(0, kBaseWindowClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    hStatusBar = CreateStatusWindowA(WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | CCS_BOTTOM, nullptr,
                                     hwnd, kStatusBarId);
    DragAcceptFiles(hwnd, TRUE);
}

void onSize(WPARAM wParam, LPARAM lParam) {
    SendMessageA(hStatusBar, WM_SIZE, wParam, lParam); // it docks itself at the bottom
    RECT status = {};
    GetClientRect(hStatusBar, &status);
    MoveWindow(hBaseWindow, 0, 0, LOWORD(lParam), HIWORD(lParam) - status.bottom, TRUE);
}

// True once the open font is in the file the user chose.
bool writeOutFont(HWND hwnd) {
    storePaneEdits();
    std::optional<std::string> path = askFontToWriteOut(hwnd, otf && otf->isCollection());
    if (!path)
        return false;
    // With no font open nothing is written and nothing is said.
    if (!otf)
        return false;
    const bool written = writeFontFile(path->c_str(), fileLength, fileImage.get(), otf.get());
    if (!written)
        MessageBoxA(hwnd, "ファイルを書き出すことができません。", "Error", MB_ICONERROR);
    noteFontEdited();
    return written;
}

// Whether the open font may go (the program quits or opens another file).
// With unsaved edits the user is asked first: Yes goes on only once the
// write-out has written them, No goes on without, Cancel stays.
bool mayLeaveFont(HWND hwnd) {
    storePaneEdits();
    if (!otf || !otf->hasUnsavedEdits())
        return true;
    const std::string question =
        std::string(fileNamePart(fontPath.c_str())) + " への変更を保存しますか？";
    switch (MessageBoxA(hwnd, question.c_str(), "fontab", MB_ICONWARNING | MB_YESNOCANCEL)) {
    case IDYES:
        return writeOutFont(hwnd);
    case IDNO:
        return true;
    default:
        return false;
    }
}

// The font goes only once the new one has opened (see loadFont).
void openFont(HWND hwnd) {
    if (!mayLeaveFont(hwnd))
        return;
    std::optional<std::string> path = askFontToOpen(hwnd);
    if (path)
        SendMessageA(hwnd, WM_COMMAND, kCmdLoadFont, reinterpret_cast<LPARAM>(path->c_str()));
}

// One file dropped opens as through File -> open; two or more, or a folder,
// change nothing. The drop is released whatever it held.
void onDropFiles(HWND hwnd, HDROP drop) {
    std::optional<std::string> path = droppedFilePath(drop);
    DragFinish(drop);
    if (path && mayLeaveFont(hwnd))
        SendMessageA(hwnd, WM_COMMAND, kCmdLoadFont, reinterpret_cast<LPARAM>(path->c_str()));
}

// The open font, if any, is replaced only by a font that has opened: a file
// that fails leaves it, its edits, the tree and the pane as they were.
void loadFont(HWND hwnd, const char* path) {
    setStatusText("ファイルを読み込んでいます...");
    FileImage newImage;
    std::unique_ptr<OTF> newOtf;
    const int32_t newLength = loadFontFile(path, newImage, newOtf);
    if (newLength != 0) {
        // A font still open goes only once its tree and pane are gone.
        if (otf)
            clearTableBrowser(hBaseWindow);
        fileImage = std::move(newImage);
        otf = std::move(newOtf);
        fileLength = newLength;
        fontPath = path;
        SendMessageA(hBaseWindow, WM_COMMAND, kCmdFontLoaded, reinterpret_cast<LPARAM>(path));
        noteFontEdited();
    } else {
        MessageBoxA(GetParent(hwnd), "ファイルを開くことができません。", "Error", MB_ICONERROR);
    }
    setStatusText("");
}

void onCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case IDM_OPEN:
        openFont(hwnd);
        break;
    case IDM_WRITE:
        writeOutFont(hwnd);
        break;
    case IDM_QUIT:
        SendMessageA(hwnd, WM_CLOSE, 0, 0);
        break;
    case IDM_ABOUT:
        showAboutBox(hwnd);
        break;
    case IDM_REMOVE: // the tree's selected table
        SendMessageA(hBaseWindow, WM_COMMAND, IDM_REMOVE, 0);
        break;
    case kCmdLoadFont:
        loadFont(hwnd, reinterpret_cast<const char*>(lParam));
        break;
    default:
        break;
    }
}

// Its children go after it: nothing may reach them, and a later main window
// starts as the first did. The open font stays, for the program to release.
void onDestroy() {
    hBaseWindow = hStatusBar = nullptr;
    fontPath.clear();
}

} // namespace

ATOM registerWindowClasses() {
    std::vector<WNDCLASSEXA> classes = {mainClass(),
                                        paneClass(kPlaceholderPaneClass, nopWindowProc)};
    for (const TablePane& pane : tablePanes)
        classes.push_back(paneClass(pane.className, pane.procedure));
    ATOM last = 0;
    for (const WNDCLASSEXA& windowClass : classes) {
        last = RegisterClassExA(&windowClass);
        if (last == 0)
            return 0;
    }
    return registerLinePreviewClass();
}

HWND createMainWindow(int nCmdShow) {
    HWND hwnd = CreateWindowExA(0, kMainClass, kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    if (hwnd != nullptr) {
        ShowWindow(hwnd, nCmdShow);
        UpdateWindow(hwnd);
    }
    return hwnd;
}

LRESULT CALLBACK mainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        onCreate(hwnd);
        return 0;
    case WM_SIZE:
        onSize(wParam, lParam);
        return 0;
    case WM_COMMAND:
        onCommand(hwnd, wParam, lParam);
        return 0;
    case WM_CLOSE:
        if (mayLeaveFont(hwnd))
            DestroyWindow(hwnd);
        return 0;
    case WM_QUERYENDSESSION: // Windows ends only once the edits are written or given up
        return mayLeaveFont(hwnd);
    case WM_DROPFILES:
        onDropFiles(hwnd, reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_DESTROY:
        onDestroy();
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}
