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

namespace {

// Clicks at a point of the tree as the mouse would.
void clickTree(int x, int y) {
    LPARAM at = MAKELPARAM(x, y);
    SendMessageA(hTreeView, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(hTreeView, WM_LBUTTONUP, 0, at);
    pumpMessages();
}

} // namespace

TEST(FailedOpen, AfterAnOpenFontLeavesAnEmptyTreeAndThePlaceholder) {
    TestFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("good.ttf"), browserFont()));
    ASSERT_TRUE(writeBytes(folder.file("empty.ttf"), {}));
    ProgramWindow program;
    program.load(folder.file("good.ttf"));
    ASSERT_TRUE(selectItem(hTreeView, "gasp"));
    ASSERT_EQ(paneClasses(hBaseWindow), std::vector<std::string>{"gaspWindow"});

    std::vector<MessageBoxSeen> seen;
    {
        ModalAnswerer answerer({chooseFile(folder.file("empty.ttf")), recordMessageBox(seen)});
        program.command(IDM_OPEN);
        EXPECT_EQ(answerer.answered(), 2);
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

    // Where the old items stood, and a selection notice with nothing selected.
    for (int y : {5, 20, 40, 60, 80})
        clickTree(20, y);
    NMHDR notice = {hTreeView, static_cast<UINT_PTR>(kTreeViewId), TVN_SELCHANGEDA};
    SendMessageA(hBaseWindow, WM_NOTIFY, kTreeViewId, reinterpret_cast<LPARAM>(&notice));
    EXPECT_EQ(paneClasses(hBaseWindow), std::vector<std::string>{kPlaceholderPaneClass});

    // Writing out with no font: nothing written, nothing said.
    {
        ModalAnswerer answerer({chooseFile(folder.file("out.ttf"))});
        program.command(IDM_WRITE);
        EXPECT_EQ(answerer.answered(), 1);
        EXPECT_EQ(answerer.unexpected(), 0);
    }
    EXPECT_FALSE(fileExists(folder.file("out.ttf")));
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"empty.ttf", "good.ttf"}));
}

TEST(FailedOpen, AShortFileIsRefusedAndAnotherFontOpensAfterwards) {
    TestFolder folder;
    const Bytes font = browserFont();
    ASSERT_TRUE(writeBytes(folder.file("good.ttf"), font));
    ASSERT_TRUE(writeBytes(folder.file("short.ttf"), Bytes(font.begin(), font.begin() + 30)));
    ProgramWindow program;
    program.load(folder.file("good.ttf"));
    std::vector<MessageBoxSeen> seen;
    {
        ModalAnswerer answerer({chooseFile(folder.file("short.ttf")), recordMessageBox(seen),
                                chooseFile(folder.file("good.ttf"))});
        program.command(IDM_OPEN);
        program.command(IDM_OPEN);
        EXPECT_EQ(answerer.unexpected(), 0);
    }
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_NE(otf, nullptr);
    EXPECT_EQ(treeContents(hTreeView).root, "good.ttf");
    ASSERT_TRUE(selectItem(hTreeView, "OS/2"));
    EXPECT_EQ(paneClasses(hBaseWindow), std::vector<std::string>{"OS2Window"});
}

TEST(FailedOpen, CancellingTheOpenDialogKeepsTheFont) {
    TestFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("kept.ttf"), browserFont()));
    ProgramWindow program;
    program.load(folder.file("kept.ttf"));
    ASSERT_TRUE(selectItem(hTreeView, "gasp"));
    HWND pane = hPane;
    const OTF* open = otf.get();
    {
        ModalAnswerer answerer({[](HWND dialog) { pressButton(dialog, IDCANCEL); }});
        program.command(IDM_OPEN);
        EXPECT_EQ(answerer.answered(), 1);
        EXPECT_EQ(answerer.leftOpen(), 0);
    }
    EXPECT_EQ(otf.get(), open);
    EXPECT_EQ(hPane, pane);
    EXPECT_EQ(treeContents(hTreeView).root, "kept.ttf");
}
