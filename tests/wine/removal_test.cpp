// Removing a table through the tree's Delete key, its context menu and the
// Edit menu: the boxes and their answers, the tree and the pane afterwards.
#include "tests/wine/program_windows.h"

namespace {

// The boxes a removal shows, their owner the main window (filled in when seen).
const std::string kNoUndo = "\n元に戻すことはできません。ファイルを開き直すと元どおりになります。";
MessageBoxSeen question(const std::string& tag, const std::string& sharing = "") {
    if (sharing.empty())
        return {"テーブル " + tag + " を削除しますか？" + kNoUndo, "fontab",
                MB_ICONQUESTION | MB_YESNO, nullptr};
    return {"テーブル " + tag + " はフォント " + sharing +
                " が共有しています。全てのフォントから削除しますか？" + kNoUndo,
            "fontab", MB_ICONQUESTION | MB_YESNOCANCEL, nullptr};
}
const MessageBoxSeen kRefusal = errorBox("このテーブルは削除できません。", nullptr)[0];

// Records the items of the popup menu shown, then chooses the first or
// closes it with Esc, through the keys its loop reads.
std::vector<std::string> menuItems;
bool chooseFromMenu = false;
void CALLBACK answerMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (menu == nullptr || !IsWindowVisible(menu))
        return;
    KillTimer(nullptr, timer);
    HMENU shown = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
    for (int i = 0; i < GetMenuItemCount(shown); ++i) {
        wchar_t text[64] = {};
        GetMenuStringW(shown, static_cast<UINT>(i), text, std::size(text), MF_BYPOSITION);
        menuItems.push_back(utf8(text));
    }
    for (WPARAM key :
         chooseFromMenu ? std::vector<WPARAM>{VK_DOWN, VK_RETURN} : std::vector<WPARAM>{VK_ESCAPE})
        PostMessageW(menu, WM_KEYDOWN, key, 1);
}

enum class Way { deleteKey, editMenu, rightClick, menuKey };

// What a user does to an item (after selecting selectedBefore, when given),
// the answer to the box it opens (0: none expected), the boxes seen and the
// tree's items that go.
struct Removal {
    Way way;
    std::string item;
    int answer;
    std::vector<MessageBoxSeen> boxes;
    std::vector<std::string> removed;
    std::string selectedBefore;
};

std::vector<std::string> treeState() { // every item's path, "+" after an expanded one
    std::vector<std::string> state;
    for (const auto& [text, item] : treeItems())
        state.push_back(text + (TreeView_GetItemState(hTreeView, item, TVIS_EXPANDED) ? "+" : ""));
    return state;
}

bool removalGrayed() {
    return GetMenuState(GetMenu(GetParent(hBaseWindow)), IDM_REMOVE, MF_BYCOMMAND) & MF_GRAYED;
}

void act(Way way, HTREEITEM item) {
    RECT label = {};
    TreeView_GetItemRect(hTreeView, item, &label, TRUE);
    POINT mouse = {(label.left + label.right) / 2, (label.top + label.bottom) / 2};
    const LPARAM at = MAKELPARAM(mouse.x, mouse.y);
    if (way == Way::deleteKey)
        SendMessageW(hTreeView, WM_KEYDOWN, VK_DELETE, 1);
    if (way == Way::editMenu) // as the menu bar sends it
        SendMessageW(GetParent(hBaseWindow), WM_COMMAND, IDM_REMOVE, 0);
    if (way == Way::rightClick) { // the menu goes where the mouse is
        ClientToScreen(hTreeView, &mouse);
        SetCursorPos(mouse.x, mouse.y);
        PostMessageW(hTreeView, WM_RBUTTONUP, 0, at); // read by the press's drag check
        SendMessageW(hTreeView, WM_RBUTTONDOWN, MK_RBUTTON, at);
    }
    if (way == Way::menuKey) // what Shift+F10 and the menu key send
        SendMessageW(hTreeView, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hTreeView), -1);
    pumpMessages();
}

void expectRemoval(const Removal& removal) {
    SCOPED_TRACE(removal.item);
    // Only a table item, which always opens a box, enables the Edit menu's
    // item; a right-click selects the table item it is on.
    ASSERT_TRUE(selectItem(removal.item));
    EXPECT_EQ(removalGrayed(), removal.boxes.empty());
    const std::vector<std::string> pane = paneClasses();
    ASSERT_TRUE(removal.selectedBefore.empty() || selectItem(removal.selectedBefore));
    std::vector<std::string> tree = treeState();
    std::vector<MessageBoxSeen> seen, expected = removal.boxes;
    for (MessageBoxSeen& box : expected)
        std::get<3>(box) = GetParent(hBaseWindow);
    menuItems.clear();
    chooseFromMenu = removal.answer != 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, answerMenu);
    {
        ModalAnswerer answerer(removal.answer
                                   ? std::vector<Step>{recordMessageBox(seen, removal.answer)}
                                   : std::vector<Step>{});
        act(removal.way, itemAt(removal.item));
    }
    KillTimer(nullptr, timer);
    EXPECT_EQ(seen, expected);
    const bool context = removal.way == Way::rightClick || removal.way == Way::menuKey;
    EXPECT_EQ(menuItems, context && !removal.boxes.empty()
                             ? std::vector<std::string>{"テーブルを削除(&D)"}
                             : std::vector<std::string>{});
    for (const std::string& path : removal.removed)
        tree.erase(std::remove(tree.begin(), tree.end(), path), tree.end());
    EXPECT_EQ(treeState(), tree);
    const bool removed = !removal.removed.empty();
    EXPECT_EQ(treeRelative(TVGN_CARET), removed ? nullptr : itemAt(removal.item));
    EXPECT_EQ(paneClasses(), removed ? std::vector<std::string>{kPlaceholderPaneClass} : pane);
    EXPECT_EQ(removalGrayed(), removed || removal.boxes.empty());
    if (removed) {
        EXPECT_EQ(windowText(GetParent(hBaseWindow)), "fontab - Tablesmith *");
    }
}

} // namespace

// Tree: in.ttf, cmap, head, OS/2, "cvt ", gasp.
TEST(RemoveTable, SingleFontAskedYesOrNoRefusedForARequiredTableWithFileDialog) {
    Session session;
    HMENU bar = GetMenu(session.program.handle());
    wchar_t text[64] = {};
    GetMenuStringW(bar, 1, text, std::size(text), MF_BYPOSITION);
    EXPECT_EQ(utf8(text), "編集(&E)");
    GetMenuStringW(bar, IDM_REMOVE, text, std::size(text), MF_BYCOMMAND);
    EXPECT_EQ(utf8(text), "テーブルを削除(&D)\tDel");
    EXPECT_TRUE(removalGrayed()) << "no font";
    ASSERT_TRUE(session.open(sampleFont()));
    EXPECT_TRUE(removalGrayed()) << "after a load";
    const Removal removals[] = {
        {Way::deleteKey, "in.ttf", 0, {}, {}, ""},
        {Way::rightClick, "in.ttf", 0, {}, {}, ""},
        {Way::menuKey, "in.ttf", 0, {}, {}, ""},
        {Way::editMenu, "head", IDOK, {kRefusal}, {}, ""},
        {Way::rightClick, "OS/2", IDOK, {kRefusal}, {}, "cmap"},
        {Way::deleteKey, "gasp", IDNO, {question("gasp")}, {}, ""},
        {Way::rightClick, "gasp", IDYES, {question("gasp")}, {"gasp"}, "in.ttf"},
        {Way::menuKey, "cvt ", IDYES, {question("cvt ")}, {"cvt "}, ""},
    };
    for (const Removal& removal : removals)
        expectRemoval(removal);
    // Holds once the write-out lays a file out anew: the removed records are gone.
    const Bytes out = session.writeOut();
    std::vector<std::string> tags;
    for (size_t i = 0; out.size() >= 12 && i < getU16(out, 4) && recordAt(i) < out.size(); ++i)
        tags.emplace_back(out.begin() + recordAt(i), out.begin() + recordAt(i) + 4);
    EXPECT_EQ(tags, (std::vector<std::string>{"VORG", "cmap", "GASP", "os/2", "OS/2", "head"}));
}

// gasp is shared by all three fonts, OS/2 by 0 and 2.
TEST(RemoveTable, CollectionFromThisFontOrEverySharingFontExpandedFontsStayExpanded) {
    const std::string f0 = "0: ゴシック/", f1 = "1: Sample Mincho/", f2 = "2/";
    const MessageBoxSeen all = question("gasp", "0, 1, 2");
    // The items expanded first, then the removals.
    const std::vector<std::pair<std::vector<std::string>, std::vector<Removal>>> sequences = {
        {{"in.ttc", "0: ゴシック", "1: Sample Mincho"},
         {
             {Way::deleteKey, "in.ttc", 0, {}, {}, ""},
             {Way::menuKey, "0: ゴシック", 0, {}, {}, ""},
             {Way::deleteKey, f0 + "OS/2", IDOK, {kRefusal}, {}, ""},
             {Way::deleteKey, f1 + "gasp", IDCANCEL, {all}, {}, ""},
             {Way::editMenu, f1 + "gasp", IDNO, {all}, {f1 + "gasp"}, ""},
             {Way::rightClick,
              f0 + "gasp",
              IDNO,
              {question("gasp", "0, 2")},
              {f0 + "gasp"},
              f1 + "head"},
             {Way::menuKey, f2 + "gasp", IDYES, {question("gasp")}, {f2 + "gasp"}, ""},
         }},
        {{},
         {{Way::deleteKey,
           f2 + "gasp",
           IDYES,
           {all},
           {f0 + "gasp", f1 + "gasp", f2 + "gasp"},
           ""}}},
    };
    for (const auto& [expanded, removals] : sequences) {
        Session session;
        ASSERT_TRUE(session.open(sampleCollection(), "", "in.ttc"));
        for (const std::string& item : expanded)
            TreeView_Expand(hTreeView, itemAt(item), TVE_EXPAND);
        for (const Removal& removal : removals)
            expectRemoval(removal);
        EXPECT_EQ(windowText(hStatusBar), "") << "nothing selected names no fonts";
    }
}

// The bitmaps are shared by both fonts; font 0's outlines vary through gvar,
// which needs fvar. Each removal is one box and one edit.
TEST(RemoveTable, TablesThatNeedOneAnotherGoTogetherOrNotAtAll) {
    const Bytes image = CollectionBuilder()
                            .table("head0", "head", headTable())
                            .table("head1", "head", headTable())
                            .table("ebdt", "EBDT", filler(8))
                            .table("eblc", "EBLC", filler(8))
                            .table("ebsc", "EBSC", filler(8))
                            .table("fvar", "fvar", filler(8))
                            .table("gvar", "gvar", filler(8))
                            .font({"head0", "ebdt", "eblc", "ebsc", "fvar", "gvar"})
                            .font({"head1", "ebdt", "eblc", "ebsc"})
                            .build();
    const MessageBoxSeen group = {
        "テーブル EBLC はフォント 0, 1 が共有しています。全てのフォントから削除しますか？"
        "\nテーブル EBDT, EBSC はこのテーブルがないと使えないため、一緒に削除します。" +
            kNoUndo,
        "fontab", MB_ICONQUESTION | MB_YESNOCANCEL, nullptr};
    const MessageBoxSeen refusal =
        errorBox("このテーブルは削除できません。\nテーブル gvar がこのテーブルを必要としています。",
                 nullptr)[0];
    const Removal removals[] = {
        {Way::deleteKey, "0/fvar", IDOK, {refusal}, {}, ""},
        {Way::deleteKey, "1/EBLC", IDCANCEL, {group}, {}, ""},
        {Way::deleteKey,
         "1/EBLC",
         IDYES,
         {group},
         {"0/EBDT", "0/EBLC", "0/EBSC", "1/EBDT", "1/EBLC", "1/EBSC"},
         ""},
    };
    Session session;
    ASSERT_TRUE(session.open(image, "", "in.ttc"));
    for (const Removal& removal : removals)
        expectRemoval(removal);
}
