// Start-up: the one command-line argument, the open that it posts, and the
// message loop, driven as WinMain drives them.
#include "app/base_window.h"
#include "app/command_ids.h"
#include "app/main_window.h"
#include "app/placeholder_pane.h"
#include "app/startup.h"
#include "res/resource.h"
#include "tests/wine/modal_answerer.h"
#include "tests/wine/program_windows.h"
#include "tests/wine/wine_test_files.h"

#include <gtest/gtest.h>

#include <optional>

TEST(Startup, OnlyASingleArgumentIsAPathToOpen) {
    const std::wstring longPath = L"C:\\" + std::wstring(1000, L'x') + L".ttf";
    const std::pair<std::vector<const wchar_t*>, std::optional<std::string>> cases[] = {
        {{L"fontab.exe"}, std::nullopt},
        {{L"fontab.exe", L"C:\\my fonts\\a b.ttf"}, "C:\\my fonts\\a b.ttf"},
        {{L"fontab.exe", longPath.c_str()}, "C:\\" + std::string(1000, 'x') + ".ttf"},
        {{L"fontab.exe", L"a.ttf", L"b.ttf"}, std::nullopt},
    };
    for (const auto& [argv, expected] : cases)
        EXPECT_EQ(startupPath(static_cast<int>(argv.size()), argv.data()), expected)
            << argv.size() << " arguments";
    EXPECT_EQ(startupPath(0, nullptr), std::nullopt);

    if (GetACP() != 932)
        GTEST_SKIP() << "the Japanese conversion needs the ANSI code page 932, this one is "
                     << GetACP();
    const wchar_t* japanese[] = {L"fontab.exe", L"C:\\\u30D5\u30A9\u30F3\u30C8\\\u8868.ttf"};
    // フォント and 表 in Shift-JIS; 表 ends in the byte of '\'.
    EXPECT_EQ(startupPath(2, japanese), "C:\\\x83t\x83H\x83\x93\x83g\\\x95\x5C.ttf");
}

// WinMain's steps after the classes exist: the main window, the posted open,
// the messages up to idle, then quit through the menu and the loop to WM_QUIT.
TEST(Startup, NoneOneOrTwoArguments) {
    TestFolder folder;
    const std::string good = folder.file("start.ttf");
    ASSERT_TRUE(writeBytes(good, browserFont()));
    const std::string missing = folder.file("missing.ttf");
    const std::string longMissing = folder.file(std::string(600, 'm') + ".ttf");
    auto wide = [](const std::string& s) { return std::wstring(s.begin(), s.end()); };
    const struct {
        std::vector<std::wstring> arguments;
        std::string root; // empty: no font open
        bool reported;    // the open-failure message
    } cases[] = {
        {{L"fontab.exe"}, "", false},
        {{L"fontab.exe", L"a.ttf", L"b.ttf"}, "", false},
        {{L"fontab.exe", wide(good)}, "start.ttf", false},
        {{L"fontab.exe", wide(missing)}, "", true},
        {{L"fontab.exe", wide(longMissing)}, "", true},
    };
    registerProgramClasses();
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        std::vector<const wchar_t*> argv;
        for (const std::wstring& argument : c.arguments)
            argv.push_back(argument.c_str());
        HWND mainWindow = createMainWindow(SW_SHOWNORMAL);
        ASSERT_NE(mainWindow, nullptr);
        std::optional<std::string> path = startupPath(static_cast<int>(argv.size()), argv.data());
        std::vector<MessageBoxSeen> seen;
        std::vector<bool> visibleAtMessage;
        {
            ModalAnswerer answerer({[&](HWND box) {
                visibleAtMessage.push_back(IsWindowVisible(mainWindow) != FALSE);
                recordMessageBox(seen)(box);
            }});
            if (path)
                PostMessageA(mainWindow, WM_COMMAND, kCmdLoadFont,
                             reinterpret_cast<LPARAM>(path->c_str()));
            pumpMessages();
            EXPECT_EQ(answerer.unexpected(), 0);
        }
        TreeContents tree = treeContents(hTreeView);
        EXPECT_EQ(tree.root, c.root);
        EXPECT_EQ(tree.children.size(), c.root.empty() ? 0u : 5u);
        EXPECT_EQ(paneClasses(hBaseWindow), std::vector<std::string>{kPlaceholderPaneClass});
        if (c.reported) {
            ASSERT_EQ(seen.size(), 1u);
            EXPECT_EQ(seen[0].text, "ファイルを開くことができません。");
            EXPECT_EQ(seen[0].caption, "Error");
            EXPECT_TRUE(seen[0].errorIcon);
            EXPECT_EQ(visibleAtMessage, std::vector<bool>{true});
        } else {
            EXPECT_TRUE(seen.empty());
        }
        PostMessageA(mainWindow, WM_COMMAND, IDM_QUIT, 0);
        EXPECT_EQ(runMessageLoop(), 0);
        EXPECT_FALSE(IsWindow(mainWindow));
        freeFontFile(fileImage, otf);
        fileLength = 0;
    }
}
