// The main window: the load command's status text, the title that never
// changes, the quit command and the commands it does not know.
#include "app/base_window.h"
#include "app/main_window.h"
#include "res/resource.h"
#include "tests/wine/modal_answerer.h"
#include "tests/wine/program_windows.h"
#include "tests/wine/wine_test_files.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

std::string statusText() {
    char text[256] = {};
    SendMessageA(hStatusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    return text;
}

} // namespace

TEST(MainWindow, LoadingShowsItsStatusThenClearsIt) {
    TestFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("empty.ttf"), {}));
    ASSERT_TRUE(writeBytes(folder.file("title.ttf"), browserFont()));
    ProgramWindow program;
    std::string statusDuringLoad;
    {
        ModalAnswerer answerer({[&](HWND box) {
            statusDuringLoad = statusText();
            pressButton(box, IDOK);
        }});
        program.load(folder.file("empty.ttf"));
        EXPECT_EQ(answerer.answered(), 1);
        EXPECT_EQ(answerer.unexpected(), 0);
    }
    EXPECT_EQ(statusDuringLoad, "ファイルを読み込んでいます...");
    EXPECT_EQ(statusText(), "");

    program.load(folder.file("title.ttf"));
    EXPECT_EQ(fileLength, static_cast<int32_t>(browserFont().size()));
    EXPECT_EQ(statusText(), "");
    EXPECT_EQ(windowText(program.handle()), "fontab - Tablesmith");
}

TEST(MainWindow, UnknownCommandsChangeNothingAndQuitAsksNothing) {
    TestFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("same.ttf"), browserFont()));
    ProgramWindow program;
    program.load(folder.file("same.ttf"));
    HWND pane = hPane;
    ModalAnswerer answerer({});
    for (int id : {0, 204, 399, 401, 402, 0xFFFF})
        program.command(id, reinterpret_cast<LPARAM>("gasp"));
    EXPECT_EQ(hPane, pane);
    EXPECT_EQ(treeContents(hTreeView).root, "same.ttf");
    EXPECT_NE(otf, nullptr);

    program.command(IDM_QUIT);
    EXPECT_FALSE(IsWindow(program.handle()));
    EXPECT_EQ(pumpMessages(), 1); // WM_QUIT
    EXPECT_EQ(answerer.unexpected(), 0);
}
