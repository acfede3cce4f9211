// The About box: the only ways it closes.
#include "res/resource.h"
#include "tests/wine/modal_answerer.h"
#include "tests/wine/program_windows.h"

#include <gtest/gtest.h>

TEST(AboutBox, ClosesOnItsButton) {
    ProgramWindow program;
    std::string button;
    ModalAnswerer answerer({[&button](HWND box) {
        button = windowText(GetDlgItem(box, IDOK));
        pressButton(box, IDOK);
    }});
    program.command(IDM_ABOUT);
    EXPECT_EQ(answerer.answered(), 1);
    EXPECT_EQ(answerer.leftOpen(), 0);
    EXPECT_EQ(button, "わかった");
}

TEST(AboutBox, IgnoresEscapeAndClosesOnEnter) {
    ProgramWindow program;
    std::vector<bool> openAfter;
    auto stillOpenThen = [&openAfter](std::function<void(HWND)> next) {
        return [&openAfter, next](HWND box) {
            openAfter.push_back(IsWindowVisible(box) != 0);
            next(box);
        };
    };
    ModalAnswerer answerer(
        {inSteps({[](HWND box) { SendMessageA(box, WM_COMMAND, IDCANCEL, 0); },
                  stillOpenThen([](HWND box) { pressKey(box, VK_ESCAPE); }),
                  stillOpenThen([](HWND box) { SendMessageA(box, WM_CLOSE, 0, 0); }),
                  stillOpenThen([](HWND box) { pressKey(box, VK_RETURN); })})});
    program.command(IDM_ABOUT);
    EXPECT_EQ(openAfter, (std::vector<bool>{true, true, true}));
    EXPECT_EQ(answerer.leftOpen(), 0) << "Enter did not close it";
}
