#include "tests/wine/program_windows.h"

#include "app/base_window.h"
#include "app/command_ids.h"
#include "app/main_window.h"
#include "res/resource.h"
#include "tables/os2/value_names.h"
#include "tests/wine/modal_answerer.h"

#include <commctrl.h>

#include <algorithm>

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

HTREEITEM nextItem(HWND tree, UINT relation, HTREEITEM item) {
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

} // namespace

TreeContents treeContents(HWND tree) {
    TreeContents contents;
    contents.count = static_cast<int>(SendMessageA(tree, TVM_GETCOUNT, 0, 0));
    HTREEITEM root = nextItem(tree, TVGN_ROOT, nullptr);
    if (root == nullptr)
        return contents;
    contents.root = itemText(tree, root);
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

fontObject* openTable(const char* tag) {
    fontObject* object = nullptr;
    return otf && otf->findTable(tag, object) ? object : nullptr;
}

bool openItem(ProgramWindow& program, const std::string& path, const std::string& item) {
    program.load(path);
    bool selected = selectItem(hTreeView, item);
    pumpMessages();
    return selected && hPane != nullptr;
}

bool reselectItem(const std::string& item) {
    bool away = selectItem(hTreeView, "head");
    pumpMessages();
    bool back = selectItem(hTreeView, item);
    pumpMessages();
    return away && back;
}

bool writeOutAs(ProgramWindow& program, const std::string& path) {
    ModalAnswerer answerer({chooseFile(path)});
    program.command(IDM_WRITE);
    pumpMessages();
    return answerer.answered() == 1 && answerer.unexpected() == 0 && answerer.leftOpen() == 0;
}

std::vector<size_t> changedOutsideTable(const Bytes& before, const Bytes& after,
                                        const std::string& tag) {
    constexpr size_t kChecksumSize = 4, kRecordChecksumAt = 4, kRecordLengthAt = 12;
    constexpr size_t kHeadAdjustmentAt = 8;
    std::vector<std::pair<size_t, size_t>> allowed; // [begin, end)
    for (size_t i = 0; i < getU16(before, 4); ++i) {
        std::string recordTag(before.begin() + recordAt(i), before.begin() + recordAt(i) + 4);
        size_t offset = recordOffset(before, i);
        if (recordTag == tag) {
            allowed.push_back({offset, offset + getU32(before, recordAt(i) + kRecordLengthAt)});
            size_t checksum = recordAt(i) + kRecordChecksumAt;
            allowed.push_back({checksum, checksum + kChecksumSize});
        } else if (recordTag == "head") {
            allowed.push_back(
                {offset + kHeadAdjustmentAt, offset + kHeadAdjustmentAt + kChecksumSize});
        }
    }
    std::vector<size_t> changed;
    for (size_t at = 0; at < std::max(before.size(), after.size()); ++at) {
        bool same = at < before.size() && at < after.size() && before[at] == after[at];
        bool inside = false;
        for (auto [begin, end] : allowed)
            inside = inside || (at >= begin && at < end);
        if (!same && !inside)
            changed.push_back(at);
    }
    return changed;
}
