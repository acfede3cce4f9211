// The shell: start-up arguments, the tree and the one pane beside it, failed
// opens and hostile files, and the About box.
#include "tests/wine/program_windows.h"

namespace {
const std::vector<std::string> kPlaceholderOnly = {kPlaceholderPaneClass};
const char kCannotOpen[] = "ファイルを開くことができません。";
} // namespace

// WinMain's steps: the main window, the open its argument posts, the loop to WM_QUIT.
TEST(Startup, NoneOneOrTwoArgumentsAndALongPath) {
    TestFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("start.ttf"), sampleFont()));
    const std::string good = folder.file("start.ttf"), missing = folder.file(std::string(600, 'm'));
    const std::wstring goodW(good.begin(), good.end()), longW(missing.begin(), missing.end());
    const struct {
        std::vector<const wchar_t*> argv;
        std::string root; // empty: no font open
        bool reported;
    } cases[] = {
        {{L"fontab.exe"}, "", false},
        {{L"fontab.exe", L"a.ttf", L"b.ttf"}, "", false},
        {{L"fontab.exe", goodW.c_str()}, "start.ttf", false},
        {{L"fontab.exe", longW.c_str()}, "", true},
    };
    EXPECT_EQ(startupPath(0, nullptr), std::nullopt);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        ProgramWindow program;
        std::optional<std::string> path =
            startupPath(static_cast<int>(c.argv.size()), c.argv.data());
        EXPECT_EQ(path.has_value(), c.argv.size() == 2);
        std::vector<MessageBoxSeen> seen;
        {
            ModalAnswerer answerer({recordMessageBox(seen)});
            if (path)
                PostMessageA(program.handle(), WM_COMMAND, kCmdLoadFont,
                             reinterpret_cast<LPARAM>(path->c_str()));
            pumpMessages();
        }
        const std::vector<std::string> tree = treeTexts();
        EXPECT_EQ(tree.empty() ? "" : tree[0], c.root);
        EXPECT_EQ(paneClasses(), kPlaceholderOnly);
        EXPECT_EQ(seen,
                  c.reported ? errorBox(kCannotOpen, nullptr) : std::vector<MessageBoxSeen>{});
        PostMessageA(program.handle(), WM_COMMAND, IDM_QUIT, 0);
        EXPECT_EQ(runMessageLoop(), 0);
        EXPECT_FALSE(IsWindow(program.handle()));
    }
}

TEST(Startup, ADoubleByteFileName) {
    if (GetACP() != 932)
        GTEST_SKIP() << "Shift-JIS names need the ANSI code page 932, this one is " << GetACP();
    // フォント and 表 in Shift-JIS; 表 ends in the byte of '\'.
    const wchar_t* japanese[] = {L"fontab.exe", L"C:\\\u30D5\u30A9\u30F3\u30C8\\\u8868.ttf"};
    EXPECT_EQ(startupPath(2, japanese), "C:\\\x83t\x83H\x83\x93\x83g\\\x95\x5C.ttf");
    Session session;
    ASSERT_TRUE(session.open(sampleFont(), "",
                             "\x95\x5C"
                             "fixture.ttf"));
    EXPECT_EQ(treeTexts().at(0), "\x95\x5C"
                                 "fixture.ttf");
}

// Known tags in tag order under the file name; each item one pane of its class.
TEST(TableTree, OrderAndOnePaneAtATime) {
    Session session;
    ASSERT_TRUE(session.open(sampleFont(), "", "panes.ttf"));
    EXPECT_EQ(treeTexts(),
              (std::vector<std::string>{"panes.ttf", "cmap", "head", "OS/2", "cvt ", "gasp"}));
    EXPECT_EQ(SendMessageA(hTreeView, TVM_GETCOUNT, 0, 0), 6);
    EXPECT_EQ(paneClasses(), kPlaceholderOnly);
    const std::pair<const char*, const char*> selections[] = {
        {"gasp", kGaspPaneClass}, {"cmap", kPlaceholderPaneClass},
        {"OS/2", kOS2PaneClass},  {"panes.ttf", kPlaceholderPaneClass},
        {"gasp", kGaspPaneClass}, {"cvt ", kPlaceholderPaneClass},
    };
    for (const auto& [item, paneClass] : selections) {
        HWND before = hPane;
        ASSERT_TRUE(selectItem(item)) << item;
        EXPECT_EQ(paneClasses(), std::vector<std::string>{paneClass}) << item;
        EXPECT_FALSE(IsWindow(before)) << item;
        RECT pane = rectInParent(hPane);
        EXPECT_EQ(std::vector<LONG>({pane.left, pane.right, pane.bottom}),
                  std::vector<LONG>({splitPos + 1, clientWidth, clientHeight}))
            << item;
    }
    // A font opens on the placeholder whatever it is called; a root named like a
    // tag the font does not hold gets no editor.
    ASSERT_TRUE(selectItem("gasp"));
    ASSERT_TRUE(session.open(SfntBuilder().table("head", headTable()).build(), "", "gasp"));
    EXPECT_EQ(paneClasses(), kPlaceholderOnly);
    ASSERT_TRUE(selectItem("head") && selectItem("gasp"));
    EXPECT_EQ(paneClasses(), kPlaceholderOnly);
}

// Each file of the fuzz corpus, chosen in the open dialog over an open font:
// refused with one box and nothing left to reach, or opened with every item
// safe to show and written out unedited as read; either way the status bar
// is empty again.
TEST(HostileFiles, EachIsRefusedWithOneBoxOrOpensWithEveryItemSafe) {
    std::string corpus = "Z:" FONTAB_SOURCE_DIR "/tests/fuzz/corpus";
    std::replace(corpus.begin(), corpus.end(), '/', '\\');
    const std::vector<std::string> names = fileNamesIn(corpus);
    ASSERT_GE(names.size(), 10u) << corpus;
    int refused = 0;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        Session session;
        const Bytes bytes = readBytes(corpus + "\\" + name);
        ASSERT_TRUE(writeBytes(session.folder.file("in.ttf"), bytes));
        ASSERT_TRUE(session.open(sampleFont(), "gasp", "good.ttf"));
        std::vector<MessageBoxSeen> seen;
        {
            ModalAnswerer answerer(
                {chooseFile(session.folder.file("in.ttf"), "フォントファイルを開く"),
                 recordMessageBox(seen)});
            session.program.command(IDM_OPEN);
            pumpMessages();
        }
        ASSERT_TRUE(IsWindow(session.program.handle()));
        EXPECT_EQ(windowText(hStatusBar), ""); // no load still under way
        if (otf != nullptr) {
            EXPECT_EQ(seen, std::vector<MessageBoxSeen>{});
            for (const std::string& item : treeTexts()) {
                EXPECT_TRUE(selectItem(item)) << item;
                ASSERT_TRUE(IsWindow(session.program.handle())) << item;
                EXPECT_EQ(paneClasses().size(), 1u) << item;
            }
            EXPECT_EQ(session.writeOut(), bytes); // unedited: the file as read
            continue;
        }
        ++refused;
        EXPECT_EQ(seen, errorBox(kCannotOpen, nullptr));
        EXPECT_EQ(fileImage, nullptr);
        EXPECT_EQ(SendMessageA(hTreeView, TVM_GETCOUNT, 0, 0), 0);
        // Clicks where the old items stood, and a selection notice with nothing selected.
        for (int y : {5, 20, 40, 60, 80}) {
            SendMessageA(hTreeView, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, y));
            SendMessageA(hTreeView, WM_LBUTTONUP, 0, MAKELPARAM(20, y));
        }
        NMHDR notice = {hTreeView, static_cast<UINT_PTR>(kTreeViewId), TVN_SELCHANGEDA};
        SendMessageA(hBaseWindow, WM_NOTIFY, kTreeViewId, reinterpret_cast<LPARAM>(&notice));
        pumpMessages();
        EXPECT_EQ(paneClasses(), kPlaceholderOnly);
        EXPECT_EQ(session.writeOut(), Bytes{}); // no font: nothing written
        EXPECT_EQ(fileNamesIn(session.folder.path()),
                  (std::vector<std::string>{"good.ttf", "in.ttf"}));
    }
    EXPECT_GT(refused, 0);
}

// Esc leaves it open; its button closes it.
TEST(AboutBox, EscLeavesItOpenItsButtonClosesIt) {
    ProgramWindow program;
    bool openAfterEsc = false;
    ModalAnswerer answerer({[&openAfterEsc](HWND box) {
        pressKey(box, VK_ESCAPE);
        openAfterEsc = IsWindowVisible(box) != 0;
        pressButton(box, IDOK);
    }});
    program.command(IDM_ABOUT);
    EXPECT_TRUE(openAfterEsc);
    EXPECT_EQ(answerer.answered(), 1);
}
