// The main window: its title, menu, children and icons, the load command's
// status text, the quit command and the commands it does not know.
#include "app/base_window.h"
#include "app/command_ids.h"
#include "app/main_window.h"
#include "res/resource.h"
#include "tests/wine/modal_answerer.h"
#include "tests/wine/program_windows.h"
#include "tests/wine/wine_test_files.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

std::string menuText(HMENU menu, UINT item, UINT flags) {
    char text[256] = {};
    GetMenuStringA(menu, item, text, sizeof text, flags);
    return text;
}

std::string statusText() {
    char text[256] = {};
    SendMessageA(hStatusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    return text;
}

} // namespace

TEST(MainWindow, HasItsTitleMenuAndChildren) {
    ProgramWindow program;
    EXPECT_EQ(windowText(program.handle()), "fontab - Tablesmith");
    EXPECT_EQ(className(program.handle()), "fontab");
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(program.handle(), GWL_STYLE)) &
                  WS_OVERLAPPEDWINDOW,
              static_cast<DWORD>(WS_OVERLAPPEDWINDOW));

    HMENU menu = GetMenu(program.handle());
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 2);
    EXPECT_EQ(menuText(menu, 0, MF_BYPOSITION), "ファイル(&F)");
    EXPECT_EQ(menuText(menu, 1, MF_BYPOSITION), "ヘルプ(&H)");
    HMENU file = GetSubMenu(menu, 0);
    ASSERT_EQ(GetMenuItemCount(file), 4);
    EXPECT_EQ(menuText(file, IDM_OPEN, MF_BYCOMMAND), "フォントファイルを開く(&O)");
    EXPECT_EQ(menuText(file, IDM_WRITE, MF_BYCOMMAND), "書き出し(&W)");
    EXPECT_NE(GetMenuState(file, 2, MF_BYPOSITION) & MF_SEPARATOR, 0u);
    EXPECT_EQ(menuText(file, IDM_QUIT, MF_BYCOMMAND), "終了(&Q)");
    EXPECT_EQ(GetMenuItemID(file, 3), static_cast<UINT>(IDM_QUIT));
    HMENU help = GetSubMenu(menu, 1);
    ASSERT_EQ(GetMenuItemCount(help), 1);
    EXPECT_EQ(menuText(help, IDM_ABOUT, MF_BYCOMMAND), "FONTABについて(&A)");

    EXPECT_EQ(GetDlgItem(program.handle(), kStatusBarId), hStatusBar);
    EXPECT_EQ(className(hStatusBar), STATUSCLASSNAMEA);
    EXPECT_EQ(className(hBaseWindow), kBaseWindowClass);
    EXPECT_EQ(GetParent(hBaseWindow), program.handle());
    EXPECT_EQ(GetDlgItem(hBaseWindow, kTreeViewId), hTreeView);
    EXPECT_EQ(className(hTreeView), WC_TREEVIEWA);
    EXPECT_EQ(GetWindowLongPtrA(hTreeView, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE);
    const LONG_PTR treeStyle =
        WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT;
    EXPECT_EQ(GetWindowLongPtrA(hTreeView, GWL_STYLE) & treeStyle, treeStyle);
    EXPECT_EQ(ImageList_GetImageCount(hImageList), 2);
    EXPECT_EQ(GetWindowLongPtrA(hPane, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE);
    EXPECT_EQ(GetDlgCtrlID(hPane), 0);
}

TEST(MainWindow, BaseWindowFillsTheClientAreaAboveTheStatusBar) {
    ProgramWindow program(500, 300);
    RECT client = {}, base = rectInParent(hBaseWindow), status = rectInParent(hStatusBar);
    GetClientRect(program.handle(), &client);
    EXPECT_EQ(base.left, 0);
    EXPECT_EQ(base.top, 0);
    EXPECT_EQ(base.right, client.right);
    EXPECT_EQ(base.bottom, status.top);
    EXPECT_EQ(status.bottom, client.bottom);
    EXPECT_EQ(clientWidth, 500);
    EXPECT_EQ(clientHeight, 300);
}

TEST(MainWindow, ClassHasItsIcons) {
    ProgramWindow program;
    EXPECT_NE(GetClassLongPtrA(program.handle(), GCLP_HICON), 0);
    EXPECT_NE(GetClassLongPtrA(program.handle(), GCLP_HICONSM), 0);
    EXPECT_EQ(GetClassLongPtrA(hPane, GCLP_HICON), 0);
}

TEST(MainWindow, LoadingShowsItsStatusThenClearsIt) {
    TestFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("empty.ttf"), {}));
    ProgramWindow program;
    std::vector<MessageBoxSeen> seen;
    std::string statusDuringLoad;
    {
        ModalAnswerer answerer({[&](HWND box) {
            statusDuringLoad = statusText();
            recordMessageBox(seen)(box);
        }});
        program.load(folder.file("empty.ttf"));
        EXPECT_EQ(answerer.unexpected(), 0);
    }
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "ファイルを開くことができません。");
    EXPECT_EQ(statusDuringLoad, "ファイルを読み込んでいます...");
    EXPECT_EQ(statusText(), "");
    EXPECT_EQ(fileLength, 0);
}

TEST(MainWindow, TitleStaysWhenAFontIsOpened) {
    TestFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("title.ttf"), browserFont()));
    ProgramWindow program;
    program.load(folder.file("title.ttf"));
    ASSERT_NE(otf, nullptr);
    EXPECT_EQ(fileLength, static_cast<int32_t>(browserFont().size()));
    EXPECT_EQ(windowText(program.handle()), "fontab - Tablesmith");
    EXPECT_EQ(statusText(), "");
}

TEST(MainWindow, QuitClosesWithoutAskingAndEndsTheLoop) {
    TestFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("quit.ttf"), browserFont()));
    ProgramWindow program;
    program.load(folder.file("quit.ttf"));
    ModalAnswerer answerer({});
    program.command(IDM_QUIT);
    EXPECT_FALSE(IsWindow(program.handle()));
    EXPECT_EQ(pumpMessages(), 1); // WM_QUIT
    EXPECT_EQ(answerer.unexpected(), 0);
}

TEST(MainWindow, UnknownCommandsChangeNothing) {
    TestFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("same.ttf"), browserFont()));
    ProgramWindow program;
    program.load(folder.file("same.ttf"));
    HWND pane = hPane;
    ModalAnswerer answerer({});
    for (int id : {0, 1, 204, 300, 301, 399, 401, 402, 0xFFFF})
        program.command(id, reinterpret_cast<LPARAM>("gasp"));
    EXPECT_EQ(answerer.unexpected(), 0);
    EXPECT_EQ(hPane, pane);
    EXPECT_EQ(treeContents(hTreeView).root, "same.ttf");
    EXPECT_NE(otf, nullptr);
}
