#include "app/main_window.h"

#include "app/about_box.h"
#include "app/base_window.h"
#include "app/command_ids.h"
#include "app/dropped_file.h"
#include "app/file_dialogs.h"
#include "app/placeholder_pane.h"
#include "app/table_panes.h"
#include "app/wide_text.h"
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
static_assert(sizeof(WNDCLASSEXW) == 48, "WNDCLASSEXW is 48 bytes in 32-bit Windows");
#endif

constexpr char kMainClass[] = "fontab";
constexpr char kTitle[] = "fontab - Tablesmith";
const HBRUSH kPaneBrush = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_MENU + 1));

// A class as RegisterClassExW takes it; name is kept alive by the caller.
WNDCLASSEXW paneClass(const std::wstring& name, WNDPROC procedure) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_VREDRAW | CS_HREDRAW;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = kPaneBrush;
    windowClass.lpszClassName = name.c_str();
    return windowClass;
}

WNDCLASSEXW mainClass(const std::wstring& name, const std::wstring& menu) {
    HINSTANCE module = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_VREDRAW | CS_HREDRAW;
    windowClass.lpfnWndProc = mainWindowProc;
    windowClass.hInstance = module;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = name.c_str();
    windowClass.hIcon = LoadIconW(module, MAKEINTRESOURCEW(IDI_FONTAB));
    windowClass.lpszMenuName = menu.c_str();
    windowClass.hIconSm = static_cast<HICON>(
        LoadImageW(module, MAKEINTRESOURCEW(IDI_FILE), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    return windowClass;
}

// The open font's path as it was opened: the question about its edits names it.
std::wstring fontPath;

} // namespace

void setStatusText(const std::string& text) {
    SendMessageW(hStatusBar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(wide(text).c_str()));
}

void noteFontEdited() {
    HWND main = hBaseWindow ? GetParent(hBaseWindow) : nullptr;
    if (main == nullptr)
        return;
    std::string title = kTitle;
    if (otf && otf->hasUnsavedEdits())
        title += " *";
    setText(main, title);
}

namespace {

void onCreate(HWND hwnd) {
    InitCommonControls();
    registerBaseWindowClass(); // already registered by an earlier main window: fine
    hBaseWindow = CreateWindowExW(0, wide(kBaseWindowClass).c_str(), L"", WS_CHILD | WS_VISIBLE, 0,
                                  0, 0, 0, hwnd, nullptr, GetModuleHandleW(nullptr), nullptr);
    hStatusBar = CreateStatusWindowW(WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | CCS_BOTTOM, nullptr,
                                     hwnd, kStatusBarId);
    DragAcceptFiles(hwnd, TRUE);
}

void onSize(WPARAM wParam, LPARAM lParam) {
    SendMessageW(hStatusBar, WM_SIZE, wParam, lParam); // it docks itself at the bottom
    RECT status = {};
    GetClientRect(hStatusBar, &status);
    MoveWindow(hBaseWindow, 0, 0, LOWORD(lParam), HIWORD(lParam) - status.bottom, TRUE);
}

// True once the open font is in the file the user chose.
bool writeOutFont(HWND hwnd) {
    storePaneEdits();
    std::optional<std::wstring> path = askFontToWriteOut(hwnd, otf && otf->isCollection());
    if (!path)
        return false;
    // With no font open nothing is written and nothing is said.
    if (!otf)
        return false;
    const bool written = writeFontFile(path->c_str(), fileLength, fileImage.get(), otf.get());
    if (!written)
        showMessage(hwnd, "ファイルを書き出すことができません。", "Error", MB_ICONERROR);
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
    const std::wstring question =
        fileNamePart(fontPath.c_str()) + wide(" への変更を保存しますか？");
    switch (MessageBoxW(hwnd, question.c_str(), wide("fontab").c_str(),
                        MB_ICONWARNING | MB_YESNOCANCEL)) {
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
    std::optional<std::wstring> path = askFontToOpen(hwnd);
    if (path)
        SendMessageW(hwnd, WM_COMMAND, kCmdLoadFont, reinterpret_cast<LPARAM>(path->c_str()));
}

// One file dropped opens as through File -> open; two or more, or a folder,
// change nothing. The drop is released whatever it held.
void onDropFiles(HWND hwnd, HDROP drop) {
    std::optional<std::wstring> path = droppedFilePath(drop);
    DragFinish(drop);
    if (path && mayLeaveFont(hwnd))
        SendMessageW(hwnd, WM_COMMAND, kCmdLoadFont, reinterpret_cast<LPARAM>(path->c_str()));
}

// The open font, if any, is replaced only by a font that has opened: a file
// that fails leaves it, its edits, the tree and the pane as they were.
void loadFont(HWND hwnd, const wchar_t* path) {
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
        SendMessageW(hBaseWindow, WM_COMMAND, kCmdFontLoaded, reinterpret_cast<LPARAM>(path));
        noteFontEdited();
    } else {
        showMessage(GetParent(hwnd), "ファイルを開くことができません。", "Error", MB_ICONERROR);
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
        SendMessageW(hwnd, WM_CLOSE, 0, 0);
        break;
    case IDM_ABOUT:
        showAboutBox(hwnd);
        break;
    case IDM_REMOVE: // the tree's selected table
        SendMessageW(hBaseWindow, WM_COMMAND, IDM_REMOVE, 0);
        break;
    case kCmdLoadFont:
        loadFont(hwnd, reinterpret_cast<const wchar_t*>(lParam));
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
    // The names outlive the registrations that point to them.
    std::vector<std::pair<std::wstring, WNDPROC>> panes = {
        {wide(kPlaceholderPaneClass), nopWindowProc}};
    for (const TablePane& pane : tablePanes)
        panes.emplace_back(wide(pane.className), pane.procedure);
    const std::wstring mainName = wide(kMainClass), menu = wide("MENU1");
    std::vector<WNDCLASSEXW> classes = {mainClass(mainName, menu)};
    for (const auto& [name, procedure] : panes)
        classes.push_back(paneClass(name, procedure));
    ATOM last = 0;
    for (const WNDCLASSEXW& windowClass : classes) {
        last = RegisterClassExW(&windowClass);
        if (last == 0)
            return 0;
    }
    return registerLinePreviewClass();
}

HWND createMainWindow(int nCmdShow) {
    HWND hwnd =
        CreateWindowExW(0, wide(kMainClass).c_str(), wide(kTitle).c_str(), WS_OVERLAPPEDWINDOW,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                        nullptr, GetModuleHandleW(nullptr), nullptr);
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
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}
