// The shell: start-up arguments, the tree and the one pane beside it, a failed
// open, the About box and the file-name part of a path.
#include "tests/wine/program_windows.h"

namespace {
const std::vector<std::string> kPlaceholderOnly = {kPlaceholderPaneClass};
const char kCannotOpen[] = "ファイルを開くことができません。";
} // namespace

// WinMain's steps: the main window, the open its argument posts, the loop to WM_QUIT.
TEST(Startup, NoneOneOrTwoArgumentsAndALongPath) {
    TestFolder folder;
    const std::string good = folder.file("start.ttf");
    ASSERT_TRUE(writeBytes(good, browserFont()));
    const std::string longMissing = folder.file(std::string(600, 'm') + ".ttf");
    auto wide = [](const std::string& s) { return std::wstring(s.begin(), s.end()); };
    const struct {
        std::vector<std::wstring> arguments;
        std::string root; // empty: no font open
        bool reported;
    } cases[] = {
        {{L"fontab.exe"}, "", false},
        {{L"fontab.exe", L"a.ttf", L"b.ttf"}, "", false},
        {{L"fontab.exe", wide(good)}, "start.ttf", false},
        {{L"fontab.exe", wide(longMissing)}, "", true},
    };
    EXPECT_EQ(startupPath(0, nullptr), std::nullopt);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        std::vector<const wchar_t*> argv;
        for (const std::wstring& argument : c.arguments)
            argv.push_back(argument.c_str());
        ProgramWindow program;
        std::optional<std::string> path = startupPath(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(path.has_value(), argv.size() == 2);
        std::vector<MessageBoxSeen> seen;
        {
            ModalAnswerer answerer({recordMessageBox(seen)});
            if (path)
                PostMessageA(program.handle(), WM_COMMAND, kCmdLoadFont,
                             reinterpret_cast<LPARAM>(path->c_str()));
            pumpMessages();
            EXPECT_TRUE(answerer.clean());
        }
        EXPECT_EQ(treeContents().root, c.root);
        EXPECT_EQ(paneClasses(), kPlaceholderOnly);
        ASSERT_EQ(seen.size(), c.reported ? 1u : 0u);
        if (c.reported) {
            EXPECT_EQ(seen[0].text, kCannotOpen);
        }
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
    EXPECT_STREQ(fileNamePart("C:\\\x95\x5C\\a.ttf"), "a.ttf");
    TestFolder folder;
    const std::string name = "\x95\x5C"
                             "fixture.ttf";
    ASSERT_TRUE(writeBytes(folder.file(name), browserFont()));
    ProgramWindow program;
    program.load(folder.file(name));
    EXPECT_EQ(treeContents().root, name);
}

// Known tags in tag order under the file name; each item one pane of its class.
TEST(TableTree, OrderAndOnePaneAtATime) {
    TestFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("panes.ttf"), browserFont()));
    ProgramWindow program;
    program.load(folder.file("panes.ttf"));
    TreeContents tree = treeContents();
    EXPECT_EQ(tree.root, "panes.ttf");
    EXPECT_EQ(tree.children, (std::vector<std::string>{"cmap", "head", "OS/2", "cvt ", "gasp"}));
    EXPECT_EQ(tree.count, 6);
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
    ASSERT_TRUE(writeBytes(folder.file("gasp"), SfntBuilder().table("head", headTable()).build()));
    ASSERT_TRUE(selectItem("gasp"));
    program.load(folder.file("gasp"));
    EXPECT_EQ(paneClasses(), kPlaceholderOnly);
    ASSERT_TRUE(selectItem("head") && selectItem("gasp"));
    EXPECT_EQ(paneClasses(), kPlaceholderOnly);
}

TEST(FailedOpen, OneBoxAndNothingLeftToReach) {
    TestFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("good.ttf"), browserFont()));
    ASSERT_TRUE(writeBytes(folder.file("empty.ttf"), {}));
    ProgramWindow program;
    program.load(folder.file("good.ttf"));
    ASSERT_TRUE(selectItem("gasp"));
    std::vector<MessageBoxSeen> seen;
    {
        ModalAnswerer answerer({chooseFile(folder.file("empty.ttf")), recordMessageBox(seen)});
        program.command(IDM_OPEN);
        EXPECT_EQ(answerer.answered(), 2);
        EXPECT_TRUE(answerer.clean());
    }
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, kCannotOpen);
    EXPECT_EQ(seen[0].caption, "Error");
    EXPECT_TRUE(seen[0].errorIcon);
    EXPECT_EQ(seen[0].owner, nullptr);
    EXPECT_EQ(otf, nullptr);
    EXPECT_EQ(fileImage, nullptr);
    EXPECT_EQ(treeContents().count, 0);
    EXPECT_EQ(paneClasses(), kPlaceholderOnly);
    // Clicks where the old items stood, and a selection notice with nothing selected.
    for (int y : {5, 20, 40, 60, 80}) {
        SendMessageA(hTreeView, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, y));
        SendMessageA(hTreeView, WM_LBUTTONUP, 0, MAKELPARAM(20, y));
    }
    NMHDR notice = {hTreeView, static_cast<UINT_PTR>(kTreeViewId), TVN_SELCHANGEDA};
    SendMessageA(hBaseWindow, WM_NOTIFY, kTreeViewId, reinterpret_cast<LPARAM>(&notice));
    pumpMessages();
    EXPECT_EQ(paneClasses(), kPlaceholderOnly);
    EXPECT_TRUE(writeOutAs(program, folder.file("out.ttf"))); // no font: nothing written
    EXPECT_EQ(fileNamesIn(folder.path()), (std::vector<std::string>{"empty.ttf", "good.ttf"}));
}

// Esc leaves it open; its button closes it.
TEST(AboutBox, EscLeavesItOpenItsButtonClosesIt) {
    ProgramWindow program;
    bool openAfterEsc = false;
    ModalAnswerer answerer({inSteps({[](HWND box) { pressKey(box, VK_ESCAPE); },
                                     [&openAfterEsc](HWND box) {
                                         openAfterEsc = IsWindowVisible(box) != 0;
                                         pressButton(box, IDOK);
                                     }})});
    program.command(IDM_ABOUT);
    EXPECT_TRUE(openAfterEsc);
    EXPECT_EQ(answerer.answered(), 1);
    EXPECT_TRUE(answerer.clean());
}

// The program's own titles, and the filter list's descriptions.
TEST(FileDialogs, TitlesAndFilters) {
    const std::string filters = "|TrueType,OpenType(TrueTypeアウトライン)(*.ttf)|OpenType(*.otf)|"
                                "対応する全てのフォント";
    ProgramWindow program;
    for (auto [id, title] : {std::pair{IDM_OPEN, "フォントファイルを開く"},
                             std::pair{IDM_WRITE, "フォントファイルの書き出し"}}) {
        std::string seen;
        ModalAnswerer answerer({[&seen](HWND dialog) {
            seen = windowText(dialog);
            HWND filter = GetDlgItem(dialog, cmb1);
            for (LRESULT i = 0; i < SendMessageA(filter, CB_GETCOUNT, 0, 0); ++i) {
                char text[128] = {};
                SendMessageA(filter, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
                seen += std::string("|") + text;
            }
            pressButton(dialog, IDCANCEL);
        }});
        program.command(id);
        EXPECT_EQ(seen, title + filters);
        EXPECT_TRUE(answerer.clean());
    }
}
