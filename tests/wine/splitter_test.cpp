// The splitter: press, drag and release on the bar through the base window's
// own mouse messages, its clamps, window resizing, and losing the capture.
#include "app/base_window.h"
#include "app/main_window.h"
#include "app/splitter.h"
#include "tests/wine/program_windows.h"

#include <gtest/gtest.h>

namespace {

LPARAM at(int x, int y = 10) {
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(y));
}

void press(int x) {
    SendMessageA(hBaseWindow, WM_LBUTTONDOWN, MK_LBUTTON, at(x));
}
void move(int x) {
    SendMessageA(hBaseWindow, WM_MOUSEMOVE, MK_LBUTTON, at(x));
}
void release(int x) {
    SendMessageA(hBaseWindow, WM_LBUTTONUP, 0, at(x));
}

// Another lock is refused while the splitter holds the desktop's.
bool desktopLockIsFree() {
    if (!LockWindowUpdate(hTreeView))
        return false;
    LockWindowUpdate(nullptr);
    return true;
}

// What the screen shows in the drag line's middle column at client x.
std::vector<COLORREF> screenColumn(int x) {
    RECT base = {};
    GetWindowRect(hBaseWindow, &base);
    HDC screen = GetDC(nullptr);
    std::vector<COLORREF> column;
    for (int y = base.top + 5; y < base.bottom - 5; y += 20)
        column.push_back(GetPixel(screen, base.left + x, y));
    ReleaseDC(nullptr, screen);
    return column;
}

std::vector<COLORREF> inverted(std::vector<COLORREF> column) {
    for (COLORREF& colour : column)
        colour ^= 0xFFFFFF;
    return column;
}

// Sizes the base window alone: the main window's frame has a smallest size.
void sizeBase(int width, int height) {
    MoveWindow(hBaseWindow, 0, 0, width, height, TRUE);
}

void expectLayout() {
    RECT tree = rectInParent(hTreeView), pane = rectInParent(hPane);
    EXPECT_EQ(tree.left, 0);
    EXPECT_EQ(tree.top, -1);
    EXPECT_EQ(tree.right, splitPos - 1);
    EXPECT_EQ(tree.bottom, clientHeight + 1);
    EXPECT_EQ(pane.left, splitPos + 1);
    EXPECT_EQ(pane.top, 0);
    EXPECT_EQ(pane.right, clientWidth);
    EXPECT_EQ(pane.bottom, clientHeight);
}

void expectIdle() {
    EXPECT_EQ(dragState, 0);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_TRUE(desktopLockIsFree());
}

} // namespace

TEST(Splitter, StartsAt150WithTheTreeAndPaneBesideIt) {
    ProgramWindow program(600, 400);
    EXPECT_EQ(splitPos, 150);
    expectLayout();
    expectIdle();
}

TEST(Splitter, PressAndReleaseWithoutMovingLeavesTheBar) {
    ProgramWindow program(600, 400);
    press(150);
    EXPECT_EQ(dragState, 1);
    EXPECT_EQ(GetCapture(), hBaseWindow);
    EXPECT_FALSE(desktopLockIsFree());
    press(150); // a second press while pressed is ignored
    EXPECT_EQ(dragState, 1);
    release(400);
    EXPECT_EQ(splitPos, 150);
    expectIdle();
    expectLayout();
}

TEST(Splitter, DragPutsTheBarWhereTheButtonGoesUpWithinTheMargins) {
    struct Case {
        int width;
        int x;
        int expected;
    };
    const Case cases[] = {
        {600, 5, 31},    {600, -20, 31},  {600, 31, 31},    {600, 300, 300},
        {600, 569, 569}, {600, 598, 569}, {600, 2000, 569}, {600, 151, 151},
        {40, 20, 31},    {40, 35, 9}, // narrower than both margins
    };
    for (const Case& c : cases) {
        ProgramWindow program(600, 300);
        sizeBase(c.width, 300);
        int before = splitPos;
        press(before);
        move(before + 7);
        EXPECT_EQ(dragState, 2);
        move(c.x);
        EXPECT_EQ(dragX, clampSplitX(c.x));
        EXPECT_EQ(dragPrevX, clampSplitX(before + 7));
        release(c.x);
        EXPECT_EQ(splitPos, c.expected) << c.width << " wide, up at " << c.x;
        expectIdle();
        expectLayout();
    }
}

TEST(Splitter, TheReleasePointDecidesNotTheLastMove) {
    ProgramWindow program(600, 400);
    press(150);
    move(100);
    move(250);
    release(200);
    EXPECT_EQ(splitPos, 200);
    expectIdle();
    expectLayout();
}

// Each line is drawn once and erased once: the screen ends as it was.
TEST(Splitter, TheDragLineIsErasedOnceAtTheEnd) {
    ProgramWindow program(600, 400);
    const std::vector<COLORREF> atBar = screenColumn(150), atPane = screenColumn(300);
    press(150);
    move(300);
    if (screenColumn(300) == atPane) {
        release(300);
        GTEST_SKIP() << "this display does not show drawing on the desktop window";
    }
    EXPECT_EQ(screenColumn(300), inverted(atPane));
    EXPECT_EQ(screenColumn(150), atBar);
    move(150); // back: the bar keeps its place, so nothing is laid out again
    EXPECT_EQ(screenColumn(300), atPane) << "the previous line was not erased";
    EXPECT_EQ(screenColumn(150), inverted(atBar));
    release(150);
    EXPECT_EQ(splitPos, 150);
    EXPECT_EQ(screenColumn(150), atBar) << "the last line was not erased exactly once";
    expectIdle();
}

TEST(Splitter, NarrowingPushesTheBarLeftAndWideningLeavesIt) {
    ProgramWindow program(600, 400);
    program.resizeBase(160, 400);
    EXPECT_EQ(splitPos, 129);
    expectLayout();
    program.resizeBase(700, 400);
    EXPECT_EQ(splitPos, 129);
    expectLayout();
    sizeBase(100, 400);
    EXPECT_EQ(splitPos, 69);
    sizeBase(20, 400); // no lower bound
    EXPECT_EQ(splitPos, -11);
    sizeBase(600, 400);
    EXPECT_EQ(splitPos, -11);
}

TEST(Splitter, AZeroWidthLeavesTheBar) {
    ProgramWindow program(600, 400);
    SendMessageA(hBaseWindow, WM_SIZE, SIZE_RESTORED, MAKELPARAM(0, 400));
    EXPECT_EQ(clientWidth, 0);
    EXPECT_EQ(splitPos, 150);

    ShowWindow(program.handle(), SW_MINIMIZE);
    pumpMessages();
    EXPECT_EQ(splitPos, 150);
    ShowWindow(program.handle(), SW_RESTORE);
    pumpMessages();
    EXPECT_EQ(splitPos, 150);
    EXPECT_EQ(clientWidth, 600);
}

TEST(Splitter, LosingTheCaptureEndsTheDrag) {
    ProgramWindow program(600, 400);
    std::vector<COLORREF> screen = screenColumn(250);
    // Taken away by another window, or released by someone else; mid-drag and
    // while only pressed.
    for (bool moved : {true, false}) {
        for (bool toAnotherWindow : {true, false}) {
            press(150);
            if (moved)
                move(250);
            if (toAnotherWindow)
                SetCapture(hTreeView);
            else
                ReleaseCapture();
            EXPECT_EQ(dragState, 0);
            EXPECT_TRUE(desktopLockIsFree());
            EXPECT_EQ(screenColumn(250), screen) << "the line was left on the screen";
            ReleaseCapture();
            release(250); // a late release moves nothing
            EXPECT_EQ(splitPos, 150);
            expectIdle();
            expectLayout();
        }
    }
}
