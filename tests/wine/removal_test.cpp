// Removing a table through the tree's Delete key, its context menu and the
// Edit menu: the boxes and their answers, the tree and the pane afterwards.
#include "tests/wine/program_windows.h"

namespace {

// A box as seen: text, caption, icon ('Q' question, 'E' error), its buttons
// among OK, Yes, No and Cancel ("OYNC").
using BoxSeen = std::tuple<std::string, std::string, char, std::string>;

Step answerBox(std::vector<BoxSeen>& seen, int button) {
    return [&seen, button](HWND box) {
        char icon = '-';
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if ((GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
                const LRESULT shown = SendMessageA(child, STM_GETICON, 0, 0);
                for (auto [kind, id] : {std::pair{'Q', IDI_QUESTION}, std::pair{'E', IDI_HAND}})
                    if (shown == reinterpret_cast<LRESULT>(LoadIconA(nullptr, id)))
                        icon = kind;
            }
        std::string buttons;
        for (auto [letter, id] : {std::pair{'O', IDOK}, std::pair{'Y', IDYES}, std::pair{'N', IDNO},
                                  std::pair{'C', IDCANCEL}})
            if (HWND shown = GetDlgItem(box, id); shown != nullptr && IsWindowVisible(shown))
                buttons += letter;
        seen.emplace_back(windowText(GetDlgItem(box, 0xFFFF)), windowText(box), icon, buttons);
        pressButton(box, button);
    };
}

const std::string kNoUndo = "\n元に戻すことはできません。ファイルを開き直すと元どおりになります。";
BoxSeen question(const std::string& tag) {
    return {"テーブル " + tag + " を削除しますか？" + kNoUndo, "fontab", 'Q', "YN"};
}
BoxSeen sharedQuestion(const std::string& tag, const std::string& fonts) {
    return {"テーブル " + tag + " はフォント " + fonts +
                " が共有しています。全てのフォントから削除しますか？" + kNoUndo,
            "fontab", 'Q', "YNC"};
}
const BoxSeen kRefusal = {"このテーブルは削除できません。", "Error", 'E', "O"};

// The context menu a tracked popup shows: its items are recorded, then the
// first is chosen or the menu closed with Esc, through the keys its loop reads.
struct ContextMenu {
    static inline std::vector<std::string> items;
    static inline bool choose = false;
    static void CALLBACK tick(HWND, UINT, UINT_PTR timer, DWORD) {
        HWND menu = FindWindowA("#32768", nullptr);
        if (menu == nullptr || !IsWindowVisible(menu))
            return;
        KillTimer(nullptr, timer);
        HMENU shown = reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0));
        for (int i = 0; i < GetMenuItemCount(shown); ++i) {
            char text[64] = {};
            GetMenuStringA(shown, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
            items.push_back(text);
        }
        for (WPARAM key :
             choose ? std::vector<WPARAM>{VK_DOWN, VK_RETURN} : std::vector<WPARAM>{VK_ESCAPE})
            PostMessageA(menu, WM_KEYDOWN, key, 1);
    }
};

enum class Way { deleteKey, editMenu, rightClick, menuKey };

// What a user does to an item, the answer given to the box it opens (0: no
// box expected), and what is seen.
struct Removal {
    Removal(Way way, std::string item, int answer = 0, std::vector<BoxSeen> boxes = {},
            std::vector<std::string> removed = {}, std::string selectedBefore = "")
        : way(way), item(std::move(item)), answer(answer), boxes(std::move(boxes)),
          removed(std::move(removed)), selectedBefore(std::move(selectedBefore)) {}
    Way way;
    std::string item;
    int answer; // the box's answer
    std::vector<BoxSeen> boxes;
    std::vector<std::string> removed; // the tree's items that go
    std::string selectedBefore;       // the item selected before, when not item
};

HTREEITEM itemAt(const std::string& path) {
    for (const auto& [text, item] : treeItems())
        if (text == path)
            return item;
    return nullptr;
}

// Every item's path, "+" after an expanded one.
std::vector<std::string> treeState() {
    std::vector<std::string> state;
    for (const auto& [text, item] : treeItems())
        state.push_back(text + (TreeView_GetItemState(hTreeView, item, TVIS_EXPANDED) ? "+" : ""));
    return state;
}

std::string selectedPath() {
    for (const auto& [text, item] : treeItems())
        if (item == treeRelative(TVGN_CARET))
            return text;
    return "";
}

bool removalGrayed() {
    return GetMenuState(GetMenu(GetParent(hBaseWindow)), IDM_REMOVE, MF_BYCOMMAND) & MF_GRAYED;
}

void act(Way way, HTREEITEM item, bool chooseFromMenu) {
    ContextMenu::items.clear();
    ContextMenu::choose = chooseFromMenu;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, ContextMenu::tick);
    RECT label = {};
    TreeView_GetItemRect(hTreeView, item, &label, TRUE);
    POINT mouse = {(label.left + label.right) / 2, (label.top + label.bottom) / 2};
    const LPARAM middle = MAKELPARAM(mouse.x, mouse.y);
    switch (way) {
    case Way::deleteKey:
        SendMessageA(hTreeView, WM_KEYDOWN, VK_DELETE, 1);
        break;
    case Way::editMenu: // as the menu bar sends it
        SendMessageA(GetParent(hBaseWindow), WM_COMMAND, IDM_REMOVE, 0);
        break;
    case Way::rightClick: { // the menu goes where the mouse is
        ClientToScreen(hTreeView, &mouse);
        SetCursorPos(mouse.x, mouse.y);
        // The release waits in the queue for the press's drag check.
        PostMessageA(hTreeView, WM_RBUTTONUP, 0, middle);
        SendMessageA(hTreeView, WM_RBUTTONDOWN, MK_RBUTTON, middle);
        break;
    }
    case Way::menuKey: // what Shift+F10 and the menu key send
        SendMessageA(hTreeView, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hTreeView), -1);
        break;
    }
    pumpMessages();
    KillTimer(nullptr, timer);
}

void expectRemoval(const Removal& removal) {
    SCOPED_TRACE(removal.item);
    // A right-click selects the table item it is on; nothing else moves the selection.
    const std::string before =
        removal.selectedBefore.empty() ? removal.item : removal.selectedBefore;
    const std::string selected = removal.boxes.empty() ? before : removal.item;
    ASSERT_TRUE(selectItem(selected));
    const std::vector<std::string> pane = paneClasses();
    ASSERT_TRUE(selectItem(before));
    std::vector<std::string> tree = treeState();
    std::vector<BoxSeen> seen;
    {
        ModalAnswerer answerer(removal.answer ? std::vector<Step>{answerBox(seen, removal.answer)}
                                              : std::vector<Step>{});
        act(removal.way, itemAt(removal.item), removal.answer != 0);
    }
    EXPECT_EQ(seen, removal.boxes);
    // A table item's menu holds the one command; other items offer none.
    const bool context = removal.way == Way::rightClick || removal.way == Way::menuKey;
    EXPECT_EQ(ContextMenu::items, context && !removal.boxes.empty()
                                      ? std::vector<std::string>{"テーブルを削除(&D)"}
                                      : std::vector<std::string>{});
    for (const std::string& path : removal.removed)
        tree.erase(std::remove(tree.begin(), tree.end(), path), tree.end());
    EXPECT_EQ(treeState(), tree);
    if (removal.removed.empty()) {
        EXPECT_EQ(selectedPath(), selected);
        EXPECT_EQ(paneClasses(), pane);
    } else {
        EXPECT_EQ(treeRelative(TVGN_CARET), nullptr);
        EXPECT_EQ(paneClasses(), std::vector<std::string>{kPlaceholderPaneClass});
        EXPECT_TRUE(removalGrayed());
        EXPECT_EQ(windowText(GetParent(hBaseWindow)), "fontab - Tablesmith *");
    }
}

} // namespace

// The Edit menu's item is enabled only while a table item is selected.
TEST(RemoveTable, TheEditMenuItemFollowsTheSelection) {
    Session session;
    HMENU bar = GetMenu(session.program.handle());
    char text[64] = {};
    GetMenuStringA(bar, 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "編集(&E)");
    GetMenuStringA(bar, IDM_REMOVE, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "テーブルを削除(&D)\tDel");
    EXPECT_TRUE(removalGrayed()) << "no font";
    ASSERT_TRUE(session.open(sampleCollection(), "", "in.ttc"));
    const std::pair<std::string, bool> selections[] = {
        {"", true},        {"0: ゴシック/gasp", false}, {"in.ttc", true},
        {"2/head", false}, {"1: Sample Mincho", true},  {"2/OS/2", false},
    };
    for (const auto& [item, grayed] : selections) {
        ASSERT_TRUE(item.empty() || selectItem(item)) << item;
        EXPECT_EQ(removalGrayed(), grayed) << item;
    }
    ASSERT_TRUE(session.open(sampleFont(), "cmap"));
    EXPECT_FALSE(removalGrayed()) << "a single font's table item";
    ASSERT_TRUE(session.open(sampleFont()));
    EXPECT_TRUE(removalGrayed()) << "after a load";
}

// Tree: in.ttf, cmap, head, OS/2, "cvt ", gasp.
TEST(RemoveTable, SingleFontAskedYesOrNoRefusedForARequiredTable) {
    Session session;
    ASSERT_TRUE(session.open(sampleFont()));
    const Removal removals[] = {
        {Way::deleteKey, "in.ttf"},
        {Way::rightClick, "in.ttf", 0, {}, {}, "cmap"},
        {Way::menuKey, "in.ttf"},
        {Way::editMenu, "head", IDOK, {kRefusal}},
        {Way::rightClick, "OS/2", IDOK, {kRefusal}},
        {Way::deleteKey, "gasp", IDNO, {question("gasp")}},
        {Way::rightClick, "gasp", IDYES, {question("gasp")}, {"gasp"}, "in.ttf"},
        {Way::menuKey, "cvt ", IDYES, {question("cvt ")}, {"cvt "}},
    };
    for (const Removal& removal : removals)
        expectRemoval(removal);
    // Only once the write-out lays a file out anew: the removed records are gone.
    const Bytes out = session.writeOut();
    ASSERT_GE(out.size(), 12u);
    std::vector<std::string> tags;
    for (size_t i = 0; i < getU16(out, 4) && recordAt(i) + 16 <= out.size(); ++i)
        tags.emplace_back(out.begin() + recordAt(i), out.begin() + recordAt(i) + 4);
    EXPECT_EQ(tags, (std::vector<std::string>{"VORG", "cmap", "GASP", "os/2", "OS/2", "head"}));
}

// Fonts 0 and 1 expanded, 2 not; gasp is shared by all three, OS/2 by 0 and 2.
TEST(RemoveTable, CollectionFromThisFontOrEverySharingFontExpandedFontsStayExpanded) {
    const std::string f0 = "0: ゴシック/", f1 = "1: Sample Mincho/", f2 = "2/";
    const BoxSeen all = sharedQuestion("gasp", "0, 1, 2"), fonts02 = sharedQuestion("gasp", "0, 2");
    // The font items expanded first, then the removals.
    const std::vector<std::pair<std::vector<std::string>, std::vector<Removal>>> sequences = {
        {{"in.ttc", "0: ゴシック", "1: Sample Mincho"},
         {
             {Way::menuKey, "0: ゴシック"},
             {Way::deleteKey, f0 + "OS/2", IDOK, {kRefusal}},
             {Way::deleteKey, f1 + "gasp", IDCANCEL, {all}},
             {Way::editMenu, f1 + "gasp", IDNO, {all}, {f1 + "gasp"}},
             {Way::rightClick, f0 + "gasp", IDNO, {fonts02}, {f0 + "gasp"}, f1 + "head"},
             {Way::menuKey, f2 + "gasp", IDYES, {question("gasp")}, {f2 + "gasp"}},
         }},
        {{},
         {{Way::deleteKey, f2 + "gasp", IDYES, {all}, {f0 + "gasp", f1 + "gasp", f2 + "gasp"}}}},
    };
    for (const auto& [expanded, removals] : sequences) {
        Session session;
        ASSERT_TRUE(session.open(sampleCollection(), "", "in.ttc"));
        for (const std::string& item : expanded)
            TreeView_Expand(hTreeView, itemAt(item), TVE_EXPAND);
        for (const Removal& removal : removals)
            expectRemoval(removal);
        char status[256] = {};
        SendMessageA(hStatusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(status));
        EXPECT_STREQ(status, "") << "nothing selected names no fonts";
    }
}
