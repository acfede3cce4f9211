// The About box: its contents and place, and the only ways it closes.
#include "app/main_window.h"
#include "res/resource.h"
#include "tests/wine/modal_answerer.h"
#include "tests/wine/program_windows.h"

#include <gtest/gtest.h>

namespace {

struct AboutSeen {
    std::string caption;
    std::string button;
    std::vector<std::string> texts;
    bool hasIcon = false;
    POINT topLeft = {0, 0}; // of the client area, on the screen
};

AboutSeen describe(HWND box) {
    AboutSeen seen;
    seen.caption = windowText(box);
    seen.button = windowText(GetDlgItem(box, IDOK));
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
            GetDlgCtrlID(child) == IDC_STATICTEXT)
            seen.hasIcon = SendMessageA(child, STM_GETICON, 0, 0) != 0;
        else
            seen.texts.push_back(windowText(child));
    }
    ClientToScreen(box, &seen.topLeft);
    return seen;
}

POINT clientOrigin(HWND window) {
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    return origin;
}

} // namespace

// Its client area starts where the main window's does.
TEST(AboutBox, ShowsItsTextsAtTheTopLeftAndClosesOnItsButton) {
    ProgramWindow program;
    AboutSeen seen;
    ModalAnswerer answerer({[&seen](HWND box) {
        seen = describe(box);
        pressButton(box, IDOK);
    }});
    program.command(IDM_ABOUT);
    EXPECT_EQ(answerer.answered(), 1);
    EXPECT_EQ(answerer.leftOpen(), 0);
    EXPECT_EQ(seen.caption, "このプログラムについて");
    EXPECT_EQ(seen.button, "わかった");
    EXPECT_TRUE(seen.hasIcon);
    ASSERT_EQ(seen.texts.size(), 5u);
    EXPECT_EQ(seen.texts[0], "Tablesmith");
    EXPECT_EQ(seen.texts[2], "著作権情報");
    POINT origin = clientOrigin(program.handle());
    EXPECT_EQ(seen.topLeft.x, origin.x);
    EXPECT_EQ(seen.topLeft.y, origin.y);
}

TEST(AboutBox, IgnoresEscapeAndClosesOnEnter) {
    ProgramWindow program;
    std::vector<bool> openAfter;
    auto stillOpen = [&openAfter](HWND box) { openAfter.push_back(IsWindowVisible(box) != 0); };
    ModalAnswerer answerer({inSteps({
        [](HWND box) { SendMessageA(box, WM_COMMAND, IDCANCEL, 0); },
        [&](HWND box) {
            stillOpen(box);
            pressKey(box, VK_ESCAPE);
        },
        [&](HWND box) {
            stillOpen(box);
            SendMessageA(box, WM_CLOSE, 0, 0);
        },
        [&](HWND box) {
            stillOpen(box);
            pressKey(box, VK_RETURN);
        },
    })});
    program.command(IDM_ABOUT);
    EXPECT_EQ(openAfter, (std::vector<bool>{true, true, true}));
    EXPECT_EQ(answerer.leftOpen(), 0) << "Enter did not close it";
}
