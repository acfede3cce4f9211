// The table browser: the tree built by command 401, the file-name part of a
// path, and the pane that each selection puts beside the tree.
#include "app/base_window.h"
#include "app/main_window.h"
#include "app/placeholder_pane.h"
#include "tables/gasp/gasp_pane.h"
#include "tables/os2/os2_pane.h"
#include "tests/wine/modal_answerer.h"
#include "tests/wine/program_windows.h"
#include "tests/wine/wine_test_files.h"

#include <gtest/gtest.h>

namespace {

const std::vector<std::string> kBrowserFontChildren = {"cmap", "head", "OS/2", "cvt ", "gasp"};

// Restores the working folder that a test changes.
class CurrentFolder {
  public:
    explicit CurrentFolder(const std::string& folder) {
        GetCurrentDirectoryA(sizeof saved_, saved_);
        SetCurrentDirectoryA(folder.c_str());
    }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;
    ~CurrentFolder() { SetCurrentDirectoryA(saved_); }

  private:
    char saved_[MAX_PATH] = {};
};

void expectPaneInPlace() {
    RECT pane = rectInParent(hPane);
    EXPECT_EQ(pane.left, splitPos + 1);
    EXPECT_EQ(pane.top, 0);
    EXPECT_EQ(pane.right, clientWidth);
    EXPECT_EQ(pane.bottom, clientHeight);
}

} // namespace

TEST(FileNamePart, IsTheLastComponentOfThePath) {
    struct Case {
        const char* path;
        size_t start; // where the part begins
    };
    const Case cases[] = {
        {"C:\\fonts\\a.ttf", 9},
        {"C:a.ttf", 2},
        {"a.ttf", 0},
        {"C:\\fonts\\", 9},
        {"C:/fonts/a.ttf", 9},
        {"\\\\server\\share\\a.ttf", 15},
        {"", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fileNamePart(c.path), c.path + c.start) << c.path;
}

TEST(FileNamePart, NeverSplitsADoubleByteCharacter) {
    if (GetACP() != 932)
        GTEST_SKIP() << "the double-byte cases need the ANSI code page 932, this one is "
                     << GetACP();
    // 表 is 0x95 0x5C in Shift-JIS: its second byte is the code of '\'.
    const char* path = "C:\\fonts\\\x95\x5C"
                       ".ttf";
    EXPECT_STREQ(fileNamePart(path), "\x95\x5C"
                                     ".ttf");
    const char* twice = "\x95\x5C\x95\x5C";
    EXPECT_EQ(fileNamePart(twice), twice);
    const char* folder = "C:\\\x95\x5C\\a.ttf"; // a folder named 表
    EXPECT_STREQ(fileNamePart(folder), "a.ttf");
}

TEST(TableTree, ListsKnownTablesInTagOrderUnderTheFileName) {
    TestFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("fixture.ttf"), browserFont()));
    ProgramWindow program;
    program.load(folder.file("fixture.ttf"));

    TreeContents tree = treeContents(hTreeView);
    EXPECT_EQ(tree.roots, 1);
    EXPECT_EQ(tree.root, "fixture.ttf");
    EXPECT_EQ(tree.children, kBrowserFontChildren);
    EXPECT_EQ(tree.count, 6);
    EXPECT_FALSE(tree.expanded);
    EXPECT_FALSE(tree.anySelected);
    EXPECT_EQ(paneClasses(hBaseWindow), std::vector<std::string>{kPlaceholderPaneClass});
    expectPaneInPlace();
}

TEST(TableTree, ANewFontReplacesTheTree) {
    TestFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("first.ttf"), browserFont()));
    ASSERT_TRUE(writeBytes(folder.file("second.ttf"), fontWithoutEditors()));
    ProgramWindow program;
    program.load(folder.file("first.ttf"));
    ASSERT_TRUE(selectItem(hTreeView, "gasp"));
    program.load(folder.file("second.ttf"));

    TreeContents tree = treeContents(hTreeView);
    EXPECT_EQ(tree.roots, 1);
    EXPECT_EQ(tree.root, "second.ttf");
    EXPECT_EQ(tree.children, (std::vector<std::string>{"cmap", "head"}));
    EXPECT_EQ(paneClasses(hBaseWindow), std::vector<std::string>{kPlaceholderPaneClass});
}

TEST(TableTree, RootOfAPathEndingInADoubleByteNameStartsAtThatName) {
    if (GetACP() != 932)
        GTEST_SKIP() << "the file name 表 needs the ANSI code page 932, this one is " << GetACP();
    TestFolder folder;
    std::string path = folder.file("\x95\x5C"
                                   "fixture.ttf");
    ASSERT_TRUE(writeBytes(path, browserFont()));
    ProgramWindow program;
    program.load(path);
    EXPECT_EQ(treeContents(hTreeView).root, "\x95\x5C"
                                            "fixture.ttf");
}

TEST(TableTree, APathThatEqualsATagStillOpensOnThePlaceholder) {
    TestFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("gasp"), browserFont()));
    ASSERT_TRUE(CreateDirectoryA(folder.file("OS").c_str(), nullptr));
    ASSERT_TRUE(writeBytes(folder.file("OS\\2"), browserFont()));
    CurrentFolder current(folder.path());
    ProgramWindow program;

    // Both fonts have the table that their path names.
    for (const char* path : {"gasp", "OS/2"}) {
        program.load(path);
        ASSERT_NE(otf, nullptr) << path;
        EXPECT_EQ(treeContents(hTreeView).children, kBrowserFontChildren) << path;
        EXPECT_EQ(paneClasses(hBaseWindow), std::vector<std::string>{kPlaceholderPaneClass})
            << path;
    }
    EXPECT_EQ(treeContents(hTreeView).root, "2");
    DeleteFileA(folder.file("OS\\2").c_str());
    RemoveDirectoryA(folder.file("OS").c_str());
}

TEST(PaneSelection, EachItemGetsExactlyOnePaneOfItsClass) {
    TestFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("panes.ttf"), browserFont()));
    ProgramWindow program;
    program.load(folder.file("panes.ttf"));

    const std::pair<const char*, const char*> selections[] = {
        {"gasp", kGaspPaneClass},        {"cmap", kPlaceholderPaneClass},
        {"OS/2", kOS2PaneClass},         {"panes.ttf", kPlaceholderPaneClass},
        {"gasp", kGaspPaneClass},        {"OS/2", kOS2PaneClass},
        {"head", kPlaceholderPaneClass}, {"cvt ", kPlaceholderPaneClass},
    };
    for (const auto& [item, paneClass] : selections) {
        HWND before = hPane;
        ASSERT_TRUE(selectItem(hTreeView, item)) << item;
        EXPECT_EQ(paneClasses(hBaseWindow), std::vector<std::string>{paneClass}) << item;
        EXPECT_EQ(className(hPane), paneClass) << item;
        EXPECT_FALSE(IsWindow(before)) << item;
        EXPECT_EQ(GetDlgCtrlID(hPane), 0) << item;
        expectPaneInPlace();
    }
}

TEST(PaneSelection, AnEditorIsOnlyMadeForATableTheFontHas) {
    TestFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("gasp"), fontWithoutEditors()));
    CurrentFolder current(folder.path());
    ProgramWindow program;
    program.load("gasp");
    // The root's text is "gasp", but there is no gasp table to edit.
    ASSERT_TRUE(selectItem(hTreeView, "gasp"));
    EXPECT_EQ(paneClasses(hBaseWindow), std::vector<std::string>{kPlaceholderPaneClass});

    EXPECT_STREQ(paneClassFor("gasp"), kPlaceholderPaneClass);
    EXPECT_STREQ(paneClassFor("OS/2"), kPlaceholderPaneClass);
}

TEST(PaneSelection, ClassChoiceComparesTheWholeTagExactly) {
    TestFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("tags.ttf"), browserFont()));
    ProgramWindow program;
    program.load(folder.file("tags.ttf"));
    const std::pair<const char*, const char*> cases[] = {
        {"gasp", kGaspPaneClass},
        {"OS/2", kOS2PaneClass},
        {"GASP", kPlaceholderPaneClass},
        {"os/2", kPlaceholderPaneClass},
        {"gasp ", kPlaceholderPaneClass},
        {"gas", kPlaceholderPaneClass},
        {"", kPlaceholderPaneClass},
        {"cmap", kPlaceholderPaneClass},
        {"tags.ttf", kPlaceholderPaneClass},
    };
    for (const auto& [text, paneClass] : cases)
        EXPECT_STREQ(paneClassFor(text), paneClass) << '"' << text << '"';
}
