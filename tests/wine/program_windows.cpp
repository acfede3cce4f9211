#include "tests/wine/program_windows.h"

#include "app/base_window.h"
#include "app/command_ids.h"
#include "app/main_window.h"
#include "tables/os2/value_names.h"

#include <commctrl.h>

void registerProgramClasses() {
    static const bool registered = [] {
        buildValueNameTables();
        return registerWindowClasses() != 0;
    }();
    (void)registered;
}

Bytes browserFont() {
    return SfntBuilder()
        .table("gasp", gaspTable(1, {{8, 0x000A}, {0xFFFF, 0x000F}}))
        .table("VORG", filler(8))
        .table("cmap", filler(20))
        .table("GASP", gaspTable(1, {{0xFFFF, 0x0003}}))
        .table("os/2", os2Table(2))
        .table("OS/2", os2Table(2))
        .table("head", headTable())
        .table("cvt ", filler(12))
        .build();
}

Bytes fontWithoutEditors() {
    return SfntBuilder().table("cmap", filler(20)).table("head", headTable()).build();
}

int pumpMessages() {
    int quits = 0;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ++quits;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return quits;
}

ProgramWindow::ProgramWindow(int width, int height) {
    registerProgramClasses();
    window_ = createMainWindow(SW_SHOWNORMAL);
    resizeBase(width, height);
    pumpMessages();
}

ProgramWindow::~ProgramWindow() {
    if (IsWindow(window_))
        DestroyWindow(window_);
    pumpMessages();
    freeFontFile(fileImage, otf);
    fileLength = 0;
}

void ProgramWindow::command(int id, LPARAM lParam) {
    SendMessageA(window_, WM_COMMAND, static_cast<WPARAM>(id), lParam);
}

void ProgramWindow::load(const std::string& path) {
    command(kCmdLoadFont, reinterpret_cast<LPARAM>(path.c_str()));
}

void ProgramWindow::resizeBase(int width, int height) {
    // The frame around the client area, and the status bar below the base window.
    RECT window = {}, client = {}, status = {};
    GetWindowRect(window_, &window);
    GetClientRect(window_, &client);
    GetClientRect(hStatusBar, &status);
    int frameWidth = (window.right - window.left) - client.right;
    int frameHeight = (window.bottom - window.top) - client.bottom;
    SetWindowPos(window_, nullptr, 0, 0, width + frameWidth, height + frameHeight + status.bottom,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    pumpMessages();
}

namespace {

std::string itemText(HWND tree, HTREEITEM item) {
    char text[520] = {};
    TVITEMA data = {};
    data.mask = TVIF_TEXT | TVIF_HANDLE;
    data.hItem = item;
    data.pszText = text;
    data.cchTextMax = sizeof text;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
    return text;
}

UINT itemState(HWND tree, HTREEITEM item) {
    TVITEMA data = {};
    data.mask = TVIF_STATE | TVIF_HANDLE;
    data.hItem = item;
    data.stateMask = TVIS_EXPANDED | TVIS_SELECTED;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
    return data.state;
}

HTREEITEM nextItem(HWND tree, UINT relation, HTREEITEM item) {
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

} // namespace

TreeContents treeContents(HWND tree) {
    TreeContents contents;
    contents.count = static_cast<int>(SendMessageA(tree, TVM_GETCOUNT, 0, 0));
    contents.anySelected = nextItem(tree, TVGN_CARET, nullptr) != nullptr;
    HTREEITEM root = nextItem(tree, TVGN_ROOT, nullptr);
    for (HTREEITEM other = root; other != nullptr; other = nextItem(tree, TVGN_NEXT, other))
        ++contents.roots;
    if (root == nullptr)
        return contents;
    contents.root = itemText(tree, root);
    contents.expanded = (itemState(tree, root) & TVIS_EXPANDED) != 0;
    for (HTREEITEM child = nextItem(tree, TVGN_CHILD, root); child != nullptr;
         child = nextItem(tree, TVGN_NEXT, child))
        contents.children.push_back(itemText(tree, child));
    return contents;
}

bool selectItem(HWND tree, const std::string& text) {
    HTREEITEM root = nextItem(tree, TVGN_ROOT, nullptr);
    HTREEITEM found = root != nullptr && itemText(tree, root) == text ? root : nullptr;
    for (HTREEITEM child = root ? nextItem(tree, TVGN_CHILD, root) : nullptr;
         child != nullptr && found == nullptr; child = nextItem(tree, TVGN_NEXT, child))
        if (itemText(tree, child) == text)
            found = child;
    if (found == nullptr)
        return false;
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(found));
    return true;
}

std::string className(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::vector<std::string> paneClasses(HWND baseWindow) {
    std::vector<std::string> classes;
    for (HWND child = GetWindow(baseWindow, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        if (child != hTreeView)
            classes.push_back(className(child));
    return classes;
}

RECT rectInParent(HWND child) {
    RECT rect = {};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
