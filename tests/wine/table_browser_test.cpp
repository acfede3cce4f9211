// The table browser: the tree built by command 401, the file-name part of a
// path, and the pane that each selection puts beside the tree.
#include "app/base_window.h"
#include "app/main_window.h"
#include "app/placeholder_pane.h"
#include "tables/gasp/gasp_pane.h"
#include "tables/os2/os2_pane.h"
#include "tests/wine/program_windows.h"
#include "tests/wine/wine_test_files.h"

#include <gtest/gtest.h>

namespace {

const std::vector<std::string> kBrowserFontChildren = {"cmap", "head", "OS/2", "cvt ", "gasp"};
const std::vector<std::string> kPlaceholderOnly = {kPlaceholderPaneClass};

// Makes folder the working folder for one test.
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

} // namespace

TEST(FileNamePart, IsTheLastComponentOfThePath) {
    const std::pair<const char*, size_t> cases[] = {
        {"C:\\fonts\\a.ttf", 9}, {"C:a.ttf", 2},        {"a.ttf", 0},
        {"C:\\fonts\\", 9},      {"C:/fonts/a.ttf", 9}, {"", 0},
    };
    for (const auto& [path, start] : cases)
        EXPECT_EQ(fileNamePart(path), path + start) << path;

    if (GetACP() != 932)
        GTEST_SKIP() << "the double-byte cases need the ANSI code page 932, this one is "
                     << GetACP();
    // 表 is 0x95 0x5C in Shift-JIS: its second byte is the code of '\'.
    const std::pair<const char*, size_t> doubleByte[] = {
        {"C:\\fonts\\\x95\x5C.ttf", 9}, {"\x95\x5C\x95\x5C", 0}, {"C:\\\x95\x5C\\a.ttf", 6}};
    for (const auto& [path, start] : doubleByte)
        EXPECT_EQ(fileNamePart(path), path + start) << path;
}

TEST(TableTree, ListsKnownTablesInTagOrderUnderTheFileName) {
    TestFolder folder;
    // 表 at the start of the name when the code page has it.
    const std::string name = GetACP() == 932 ? "\x95\x5C"
                                               "fixture.ttf"
                                             : "fixture.ttf";
    ASSERT_TRUE(writeBytes(folder.file(name), browserFont()));
    ASSERT_TRUE(writeBytes(folder.file("second.ttf"), fontWithoutEditors()));
    ProgramWindow program;
    program.load(folder.file(name));
    TreeContents tree = treeContents(hTreeView);
    EXPECT_EQ(tree.root, name);
    EXPECT_EQ(tree.children, kBrowserFontChildren);
    EXPECT_EQ(tree.count, 6);
    EXPECT_EQ(paneClasses(hBaseWindow), kPlaceholderOnly);

    // A new font replaces the tree and the pane.
    ASSERT_TRUE(selectItem(hTreeView, "gasp"));
    program.load(folder.file("second.ttf"));
    tree = treeContents(hTreeView);
    EXPECT_EQ(tree.root, "second.ttf");
    EXPECT_EQ(tree.children, (std::vector<std::string>{"cmap", "head"}));
    EXPECT_EQ(tree.count, 3);
    EXPECT_EQ(paneClasses(hBaseWindow), kPlaceholderOnly);
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
        {"cvt ", kPlaceholderPaneClass},
    };
    for (const auto& [item, paneClass] : selections) {
        HWND before = hPane;
        ASSERT_TRUE(selectItem(hTreeView, item)) << item;
        EXPECT_EQ(paneClasses(hBaseWindow), std::vector<std::string>{paneClass}) << item;
        EXPECT_EQ(className(hPane), paneClass) << item;
        EXPECT_FALSE(IsWindow(before)) << item;
        RECT pane = rectInParent(hPane);
        EXPECT_EQ(pane.left, splitPos + 1) << item;
        EXPECT_EQ(pane.right, clientWidth) << item;
        EXPECT_EQ(pane.bottom, clientHeight) << item;
    }
    // Only the exact tag has an editor.
    for (const char* text : {"GASP", "os/2", "gasp ", "gas", ""})
        EXPECT_STREQ(paneClassFor(text), kPlaceholderPaneClass) << '"' << text << '"';
}

// A path that reads like a tag (the load selects the root through command
// 401 with the path) still ends on the placeholder, and a font without the
// table never gets its editor.
TEST(PaneSelection, APathNamedLikeATagGetsNoEditor) {
    TestFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("gasp"), fontWithoutEditors()));
    ASSERT_TRUE(CreateDirectoryA(folder.file("OS").c_str(), nullptr));
    ASSERT_TRUE(writeBytes(folder.file("OS\\2"), browserFont()));
    CurrentFolder current(folder.path());
    ProgramWindow program;
    program.load("OS/2");
    EXPECT_EQ(treeContents(hTreeView).children, kBrowserFontChildren);
    EXPECT_EQ(paneClasses(hBaseWindow), kPlaceholderOnly);

    program.load("gasp");
    EXPECT_EQ(treeContents(hTreeView).children, (std::vector<std::string>{"cmap", "head"}));
    EXPECT_EQ(paneClasses(hBaseWindow), kPlaceholderOnly);
    ASSERT_TRUE(selectItem(hTreeView, "gasp")); // the root
    EXPECT_EQ(paneClasses(hBaseWindow), kPlaceholderOnly);
    EXPECT_STREQ(paneClassFor("gasp"), kPlaceholderPaneClass);
    DeleteFileA(folder.file("OS\\2").c_str());
    RemoveDirectoryA(folder.file("OS").c_str());
}
