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

namespace {

struct StartupRun {
    std::vector<MessageBoxSeen> messages;
    std::vector<bool> mainVisibleAtMessage;
    TreeContents tree;
    std::vector<std::string> panes;
    int unexpected = 0;
    int exitCode = -1;
    bool windowGone = false;
};

// WinMain's steps after the classes exist: the main window, the posted open
// for the one argument, the messages up to idle (where the tree and pane are
// read), then quit through the menu command and the loop until WM_QUIT.
StartupRun runStartup(const std::vector<std::wstring>& arguments) {
    std::vector<const wchar_t*> argv;
    for (const std::wstring& argument : arguments)
        argv.push_back(argument.c_str());
    argv.push_back(nullptr);

    registerProgramClasses();
    StartupRun run;
    HWND mainWindow = createMainWindow(SW_SHOWNORMAL);
    EXPECT_NE(mainWindow, nullptr);
    std::optional<std::string> path = startupPath(static_cast<int>(arguments.size()), argv.data());
    {
        std::vector<ModalAnswerer::Answer> answers;
        for (int i = 0; i < 2; ++i)
            answers.push_back([&run, mainWindow](HWND box) {
                run.mainVisibleAtMessage.push_back(IsWindowVisible(mainWindow) != FALSE);
                recordMessageBox(run.messages)(box);
            });
        ModalAnswerer answerer(answers);
        if (path)
            PostMessageA(mainWindow, WM_COMMAND, kCmdLoadFont,
                         reinterpret_cast<LPARAM>(path->c_str()));
        pumpMessages();
        run.unexpected = answerer.unexpected();
    }
    run.tree = treeContents(hTreeView);
    run.panes = paneClasses(hBaseWindow);
    PostMessageA(mainWindow, WM_COMMAND, IDM_QUIT, 0);
    run.exitCode = runMessageLoop();
    run.windowGone = !IsWindow(mainWindow);
    freeFontFile(fileImage, otf);
    fileLength = 0;
    return run;
}

} // namespace

TEST(Startup, OnlyASingleArgumentIsAPathToOpen) {
    struct Case {
        std::vector<const wchar_t*> argv;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {{L"fontab.exe"}, std::nullopt},
        {{L"fontab.exe", L"C:\\fonts\\a.ttf"}, std::string("C:\\fonts\\a.ttf")},
        {{L"fontab.exe", L"C:\\my fonts\\a b.ttf"}, std::string("C:\\my fonts\\a b.ttf")},
        {{L"fontab.exe", L"a.ttf", L"b.ttf"}, std::nullopt},
        {{L"fontab.exe", L"a.ttf", L"b.ttf", L"c.ttf"}, std::nullopt},
    };
    for (const Case& c : cases) {
        std::optional<std::string> path =
            startupPath(static_cast<int>(c.argv.size()), c.argv.data());
        EXPECT_EQ(path, c.expected) << c.argv.size() << " arguments";
    }
    EXPECT_EQ(startupPath(0, nullptr), std::nullopt);
}

TEST(Startup, ArgumentOfAnyLengthIsConvertedToTheAnsiCodePage) {
    std::wstring longPath = L"C:\\" + std::wstring(1000, L'x') + L".ttf";
    const wchar_t* argv[] = {L"fontab.exe", longPath.c_str()};
    std::optional<std::string> path = startupPath(2, argv);
    ASSERT_TRUE(path);
    EXPECT_EQ(*path, "C:\\" + std::string(1000, 'x') + ".ttf");

    if (GetACP() != 932)
        GTEST_SKIP() << "the Japanese conversion needs the ANSI code page 932, this one is "
                     << GetACP();
    const wchar_t* japanese[] = {L"fontab.exe", L"C:\\\u30D5\u30A9\u30F3\u30C8\\\u8868.ttf"};
    path = startupPath(2, japanese);
    ASSERT_TRUE(path);
    // フォント and 表 in Shift-JIS; 表 ends in the byte of '\'.
    EXPECT_EQ(*path, "C:\\\x83t\x83H\x83\x93\x83g\\\x95\x5C.ttf");
}

TEST(Startup, NoArgumentOrTwoShowAnEmptyTreeAndNoMessage) {
    for (const std::vector<std::wstring>& arguments :
         {std::vector<std::wstring>{L"fontab.exe"},
          std::vector<std::wstring>{L"fontab.exe", L"a.ttf", L"b.ttf"}}) {
        StartupRun run = runStartup(arguments);
        EXPECT_TRUE(run.messages.empty()) << arguments.size();
        EXPECT_EQ(run.unexpected, 0);
        EXPECT_EQ(run.tree.count, 0);
        EXPECT_EQ(run.panes, std::vector<std::string>{kPlaceholderPaneClass});
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_TRUE(run.windowGone);
    }
}

TEST(Startup, OneArgumentOpensThatFont) {
    TestFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("start.ttf"), browserFont()));
    std::string path = folder.file("start.ttf");
    StartupRun run = runStartup({L"fontab.exe", std::wstring(path.begin(), path.end())});
    EXPECT_TRUE(run.messages.empty());
    EXPECT_EQ(run.tree.root, "start.ttf");
    EXPECT_EQ(run.tree.children.size(), 5u);
    EXPECT_EQ(run.panes, std::vector<std::string>{kPlaceholderPaneClass});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.windowGone);
    EXPECT_EQ(otf, nullptr); // released after the loop
}

TEST(Startup, AMissingFileIsReportedOnceAfterTheWindowIsVisible) {
    TestFolder folder;
    std::string shortPath = folder.file("missing.ttf");
    std::string longPath = folder.file(std::string(600, 'm') + ".ttf");
    for (const std::string& missing : {shortPath, longPath}) {
        StartupRun run = runStartup({L"fontab.exe", std::wstring(missing.begin(), missing.end())});
        ASSERT_EQ(run.messages.size(), 1u) << missing.size();
        EXPECT_EQ(run.messages[0].text, "ファイルを開くことができません。");
        EXPECT_EQ(run.messages[0].caption, "Error");
        EXPECT_TRUE(run.messages[0].errorIcon);
        EXPECT_EQ(run.messages[0].owner, nullptr);
        EXPECT_EQ(run.mainVisibleAtMessage, std::vector<bool>{true});
        EXPECT_EQ(run.unexpected, 0);
        EXPECT_EQ(run.tree.count, 0);
        EXPECT_EQ(run.panes, std::vector<std::string>{kPlaceholderPaneClass});
        EXPECT_EQ(run.exitCode, 0);
    }
}
