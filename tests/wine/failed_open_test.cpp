// Opening through the File menu: a font that cannot be opened after one that
// was open leaves nothing that could reach the released font.
#include "app/base_window.h"
#include "app/command_ids.h"
#include "app/main_window.h"
#include "app/placeholder_pane.h"
#include "res/resource.h"
#include "tests/wine/modal_answerer.h"
#include "tests/wine/program_windows.h"
#include "tests/wine/wine_test_files.h"

#include <gtest/gtest.h>

TEST(FailedOpen, AfterAnOpenFontLeavesAnEmptyTreeAndThePlaceholder) {
    TestFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("good.ttf"), browserFont()));
    ASSERT_TRUE(writeBytes(folder.file("empty.ttf"), {}));
    ProgramWindow program;
    program.load(folder.file("good.ttf"));
    ASSERT_TRUE(selectItem(hTreeView, "gasp"));
    const HWND pane = hPane;

    std::vector<MessageBoxSeen> seen;
    {
        // Cancelled first, which keeps the font; then the empty file.
        ModalAnswerer answerer({[](HWND dialog) { pressButton(dialog, IDCANCEL); },
                                chooseFile(folder.file("empty.ttf")), recordMessageBox(seen)});
        program.command(IDM_OPEN);
        EXPECT_EQ(hPane, pane);
        EXPECT_NE(otf, nullptr);
        program.command(IDM_OPEN);
        EXPECT_EQ(answerer.answered(), 3);
        EXPECT_EQ(answerer.unexpected(), 0);
        EXPECT_EQ(answerer.leftOpen(), 0);
    }
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "ファイルを開くことができません。");
    EXPECT_EQ(seen[0].caption, "Error");
    EXPECT_TRUE(seen[0].errorIcon);
    EXPECT_EQ(otf, nullptr);
    EXPECT_EQ(fileImage, nullptr);
    EXPECT_EQ(fileLength, 0);
    EXPECT_EQ(treeContents(hTreeView).count, 0);
    EXPECT_EQ(paneClasses(hBaseWindow), std::vector<std::string>{kPlaceholderPaneClass});

    // Clicks where the old items stood, and a selection notice with nothing selected.
    for (int y : {5, 20, 40, 60, 80}) {
        SendMessageA(hTreeView, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, y));
        SendMessageA(hTreeView, WM_LBUTTONUP, 0, MAKELPARAM(20, y));
    }
    pumpMessages();
    NMHDR notice = {hTreeView, static_cast<UINT_PTR>(kTreeViewId), TVN_SELCHANGEDA};
    SendMessageA(hBaseWindow, WM_NOTIFY, kTreeViewId, reinterpret_cast<LPARAM>(&notice));
    EXPECT_EQ(paneClasses(hBaseWindow), std::vector<std::string>{kPlaceholderPaneClass});

    // Writing out with no font: nothing written, nothing said.
    EXPECT_TRUE(writeOutAs(program, folder.file("out.ttf")));
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"empty.ttf", "good.ttf"}));

    // And a good font opens again.
    program.load(folder.file("good.ttf"));
    ASSERT_TRUE(selectItem(hTreeView, "OS/2"));
    EXPECT_EQ(paneClasses(hBaseWindow), std::vector<std::string>{"OS2Window"});
}
