#include "app/base_window.h"

#include "app/command_ids.h"
#include "app/main_window.h"
#include "app/placeholder_pane.h"
#include "app/sharing_text.h"
#include "app/splitter.h"
#include "app/table_panes.h"
#include "app/table_removal.h"
#include "app/wide_text.h"
#include "tables/name/full_name.h"
#include "res/resource.h"

#include <windowsx.h>

#include <cstring>
#include <string>
#include <vector>

namespace {
constexpr int32_t kInitialSplitPos = 150;
} // namespace

HWND hTreeView = nullptr;
HWND hPane = nullptr;
int32_t splitPos = kInitialSplitPos;
int32_t clientWidth = 0;
int32_t clientHeight = 0;
size_t paneFont = 0;

namespace {

HIMAGELIST hImageList = nullptr;
constexpr DWORD kItemTextSize = 520;
constexpr int kFileImage = 0;
constexpr int kTableImage = 1;
constexpr int kIconSize = 16;
const HBRUSH kBarBrush = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_MENU + 1));

HMENU controlId(int id) {
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

void appendIcon(HINSTANCE module, int iconId) {
    ImageList_ReplaceIcon(hImageList, -1, LoadIconW(module, MAKEINTRESOURCEW(iconId)));
}

// Each item carries the index of the font it belongs to.
HTREEITEM insertItem(HWND tree, HTREEITEM parent, std::wstring text, int image, size_t font = 0) {
    TVINSERTSTRUCTW insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = text.data(); // the tree keeps its own copy
    insert.item.iImage = image;
    insert.item.iSelectedImage = image;
    insert.item.lParam = static_cast<LPARAM>(font);
    return reinterpret_cast<HTREEITEM>(
        SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

std::u16string fullNameOf(size_t font) {
    return currentFullName(*otf, fileImage.get(), static_cast<size_t>(fileLength), font);
}

void movePane() {
    MoveWindow(hPane, splitPos + 1, 0, clientWidth - splitPos - 1, clientHeight, TRUE);
}

void onCreate(HWND hwnd) {
    HINSTANCE module = GetModuleHandleW(nullptr);
    hTreeView = CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                                WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES |
                                    TVS_LINESATROOT,
                                0, 0, 0, 0, hwnd, controlId(kTreeViewId), module, nullptr);
    hImageList = ImageList_Create(kIconSize, kIconSize, ILC_COLOR8 | ILC_MASK, 1, 0);
    appendIcon(module, IDI_FILE);
    appendIcon(module, IDI_TABLE);
    SendMessageW(hTreeView, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(hImageList));
    createTablePane(hwnd, hPane, "");
}

// The tree and the pane go after this window: nothing may reach them, a
// later base window starts as the first did, and the image list goes.
void onDestroy() {
    SendMessageW(hTreeView, TVM_SETIMAGELIST, TVSIL_NORMAL, 0);
    ImageList_Destroy(hImageList);
    hImageList = nullptr;
    hTreeView = hPane = nullptr;
    splitPos = kInitialSplitPos;
    clientWidth = clientHeight = 0;
    paneFont = 0;
    resetSplitter();
}

void onSize(LPARAM lParam) {
    clientWidth = GET_X_LPARAM(lParam);
    clientHeight = GET_Y_LPARAM(lParam);
    // A narrower window pushes the bar left; a minimised one (width 0) leaves it.
    if (clientWidth > 0 && clientWidth - kSplitMargin < splitPos)
        splitPos = clientWidth - kSplitMargin;
    layOutPanes();
}

void onEraseBackground(HDC dc) {
    RECT bar = {splitPos - 1, 0, splitPos + 2, clientHeight};
    FillRect(dc, &bar, kBarBrush);
}

HTREEITEM relative(UINT relation, HTREEITEM item) {
    return reinterpret_cast<HTREEITEM>(
        SendMessageW(hTreeView, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

HTREEITEM selectedItem() {
    return relative(TVGN_CARET, nullptr);
}

// The Edit menu's removal stands for the selected item: only a table item has one.
void updateRemoveCommand(HWND hwnd) {
    const UINT state = isTableItem(selectedItem()) ? MF_ENABLED : MF_GRAYED;
    EnableMenuItem(GetMenu(GetParent(hwnd)), IDM_REMOVE, MF_BYCOMMAND | state);
}

void onTreeSelectionChanged(HWND hwnd) {
    storePaneEdits();
    HTREEITEM item = selectedItem();
    paneFont = treeItemFont(item);
    // In a collection only a table item, under a font item, shows a table.
    std::string text = !otf || !otf->isCollection() || isTableItem(item) ? treeItemText(item) : "";
    if (otf && otf->isCollection()) {
        std::string sharing = sharingNotice(otf->fontsSharing(text.c_str(), paneFont));
        setStatusText(sharing);
    }
    createTablePane(hwnd, hPane, text.c_str());
    movePane();
    updateRemoveCommand(hwnd);
}

// A right-click offers the menu of the item under the mouse, which it selects;
// the menu key and Shift+F10 (at -1, -1) that of the selected item, beside it.
void onContextMenu(HWND hwnd, HWND from, LPARAM lParam) {
    if (from != hTreeView)
        return;
    POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    HTREEITEM item = selectedItem();
    if (at.x == -1 && at.y == -1) {
        RECT label = {};
        if (item == nullptr || !TreeView_GetItemRect(hTreeView, item, &label, TRUE))
            return;
        at = {label.left, label.bottom};
        ClientToScreen(hTreeView, &at);
    } else {
        TVHITTESTINFO hit = {};
        hit.pt = at;
        ScreenToClient(hTreeView, &hit.pt);
        item = TreeView_HitTest(hTreeView, &hit);
        if (!(hit.flags & TVHT_ONITEM) || !isTableItem(item))
            return;
        TreeView_SelectItem(hTreeView, item);
    }
    if (isTableItem(item) && chooseFromTableMenu(hwnd, at))
        removeTableItem(hwnd, item);
}

void onButtonUp(HWND hwnd, int32_t x) {
    int32_t barX = splitterButtonUp(hwnd, x, clientWidth);
    if (barX >= 0) {
        splitPos = barX;
        layOutPanes();
    }
}

void onNotify(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (wParam != kTreeViewId)
        return;
    if (header->code == TVN_SELCHANGEDW)
        onTreeSelectionChanged(hwnd);
    if (header->code == TVN_KEYDOWN &&
        reinterpret_cast<const NMTVKEYDOWN*>(lParam)->wVKey == VK_DELETE)
        removeTableItem(hwnd, selectedItem());
}

bool showsPlaceholder() {
    wchar_t name[sizeof kPlaceholderPaneClass + 1] = L"";
    return hPane != nullptr && GetClassNameW(hPane, name, std::size(name)) > 0 &&
           name == wide(kPlaceholderPaneClass);
}

void onFontLoaded(HWND hwnd, const wchar_t* path) {
    paneFont = 0;
    fillTableTree(hTreeView, path);
    // A font always opens on the placeholder, whatever its file is called.
    // The main window has put one in place before the font changed.
    if (!showsPlaceholder()) {
        createTablePane(hwnd, hPane, "");
        movePane();
    }
    updateRemoveCommand(hwnd);
}

void onCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case kCmdFontLoaded:
        onFontLoaded(hwnd, reinterpret_cast<const wchar_t*>(lParam));
        break;
    case IDM_REMOVE:
        removeTableItem(hwnd, selectedItem());
        break;
    default:
        break;
    }
}

} // namespace

ATOM registerBaseWindowClass() {
    const std::wstring name = wide(kBaseWindowClass);
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = baseWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_SIZEWE);
    windowClass.lpszClassName = name.c_str();
    return RegisterClassExW(&windowClass);
}

LRESULT CALLBACK baseWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        onCreate(hwnd);
        return 0;
    case WM_SIZE:
        onSize(lParam);
        return 0;
    case WM_ERASEBKGND:
        onEraseBackground(reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_NOTIFY:
        onNotify(hwnd, wParam, lParam);
        return 0;
    case WM_COMMAND:
        onCommand(hwnd, wParam, lParam);
        return 0;
    case WM_CONTEXTMENU:
        onContextMenu(hwnd, reinterpret_cast<HWND>(wParam), lParam);
        return 0;
    case WM_LBUTTONDOWN:
        splitterButtonDown(hwnd, splitPos);
        return 0;
    case WM_MOUSEMOVE:
        splitterMouseMove(hwnd, GET_X_LPARAM(lParam), clientWidth);
        return 0;
    case WM_LBUTTONUP:
        onButtonUp(hwnd, GET_X_LPARAM(lParam));
        return 0;
    case WM_CAPTURECHANGED:
        splitterCaptureLost(hwnd, reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_DESTROY:
        onDestroy();
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

void fillTableTree(HWND tree, const wchar_t* path) {
    SendMessageW(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    HTREEITEM root = insertItem(tree, nullptr, fileNamePart(path), kFileImage);
    const size_t fonts = otf ? otf->fonts.size() : 0;
    for (size_t font = 0; font < fonts; ++font) {
        HTREEITEM parent = root;
        if (otf->isCollection())
            parent = insertItem(tree, root, fontItemText(font, fullNameOf(font)), kFileImage, font);
        for (const char* tag : tableTags) {
            fontObject* table = nullptr;
            if (otf->findTable(tag, table, font))
                insertItem(tree, parent, wide(tag), kTableImage, font);
        }
    }
}

std::wstring fontItemText(size_t font, const std::u16string& name) {
    std::wstring text = std::to_wstring(font);
    return name.empty() ? text : text + L": " + wideText(name);
}

void renameFontItems() {
    if (!otf || !otf->isCollection())
        return;
    HTREEITEM root = relative(TVGN_ROOT, nullptr);
    for (HTREEITEM item = root ? relative(TVGN_CHILD, root) : nullptr; item != nullptr;
         item = relative(TVGN_NEXT, item)) {
        TVITEMW data = {};
        data.mask = TVIF_PARAM | TVIF_HANDLE;
        data.hItem = item;
        SendMessageW(hTreeView, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
        const size_t font = static_cast<size_t>(data.lParam);
        std::wstring text = fontItemText(font, fullNameOf(font));
        data.mask = TVIF_TEXT | TVIF_HANDLE;
        data.pszText = text.data();
        SendMessageW(hTreeView, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&data));
    }
}

const char* paneClassFor(const char* text) {
    // An editor is only ever handed a font that holds its table.
    fontObject* table = nullptr;
    if (!otf || !otf->findTable(text, table, paneFont))
        return kPlaceholderPaneClass;
    for (const TablePane& pane : tablePanes)
        if (std::strcmp(pane.tag, text) == 0)
            return pane.needsObject && table == nullptr ? kPlaceholderPaneClass : pane.className;
    return kPlaceholderPaneClass;
}

void createTablePane(HWND parent, HWND& slot, const char* text) {
    if (slot != nullptr) {
        DestroyWindow(slot);
        slot = nullptr;
    }
    slot = CreateWindowExW(WS_EX_CLIENTEDGE, wide(paneClassFor(text)).c_str(), L"",
                           WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

bool isTableItem(HTREEITEM item) {
    HTREEITEM parent = item ? relative(TVGN_PARENT, item) : nullptr;
    if (parent == nullptr || !otf)
        return false;
    return !otf->isCollection() || relative(TVGN_PARENT, parent) != nullptr;
}

std::string treeItemText(HTREEITEM item) {
    std::vector<wchar_t> text(kItemTextSize, L'\0');
    TVITEMW data = {};
    data.mask = TVIF_TEXT | TVIF_HANDLE;
    data.hItem = item;
    data.pszText = text.data();
    data.cchTextMax = kItemTextSize;
    if (item != nullptr)
        SendMessageW(hTreeView, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
    return utf8(text.data());
}

size_t treeItemFont(HTREEITEM item) {
    TVITEMW data = {};
    data.mask = TVIF_PARAM | TVIF_HANDLE;
    data.hItem = item;
    if (item != nullptr)
        SendMessageW(hTreeView, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
    return static_cast<size_t>(data.lParam);
}

// Every other item stays as it is, expanded or not.
void deleteRemovedTableItems() {
    if (!otf)
        return;
    HTREEITEM root = relative(TVGN_ROOT, nullptr);
    std::vector<HTREEITEM> parents = {root}; // a single font's tables stand under the root
    if (otf->isCollection()) {
        parents.clear();
        for (HTREEITEM font = relative(TVGN_CHILD, root); font; font = relative(TVGN_NEXT, font))
            parents.push_back(font);
    }
    for (HTREEITEM parent : parents)
        for (HTREEITEM item = relative(TVGN_CHILD, parent), next; item != nullptr; item = next) {
            next = relative(TVGN_NEXT, item);
            fontObject* object = nullptr;
            if (!otf->findTable(treeItemText(item).c_str(), object, treeItemFont(item)))
                TreeView_DeleteItem(hTreeView, item);
        }
}

void storePaneEdits() {
    if (hPane != nullptr)
        SendMessageW(hPane, kMsgStorePaneEdits, 0, 0);
}

void clearTableBrowser(HWND baseWindow) {
    if (baseWindow == nullptr)
        return;
    SendMessageW(hTreeView, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    paneFont = 0;
    createTablePane(baseWindow, hPane, "");
    movePane();
    updateRemoveCommand(baseWindow);
}

void layOutPanes() {
    MoveWindow(hTreeView, 0, -1, splitPos - 1, clientHeight + 2, TRUE);
    movePane();
}
