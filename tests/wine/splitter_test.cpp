// The splitter: press, drag and release on the bar through the base window's
// own mouse messages, its clamps, window resizing, and losing the capture.
#include "app/base_window.h"
#include "app/main_window.h"
#include "app/splitter.h"
#include "tests/wine/program_windows.h"

#include <gtest/gtest.h>

namespace {

void mouse(UINT message, int x, WPARAM keys = MK_LBUTTON) {
    LPARAM at = MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), 10);
    SendMessageA(hBaseWindow, message, keys, at);
}
void press(int x) {
    mouse(WM_LBUTTONDOWN, x);
}
void move(int x) {
    mouse(WM_MOUSEMOVE, x);
}
void release(int x) {
    mouse(WM_LBUTTONUP, x, 0);
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
    auto edges = [](RECT r) { return std::vector<LONG>{r.left, r.top, r.right, r.bottom}; };
    EXPECT_EQ(edges(rectInParent(hTreeView)),
              (std::vector<LONG>{0, -1, splitPos - 1, clientHeight + 1}));
    EXPECT_EQ(edges(rectInParent(hPane)),
              (std::vector<LONG>{splitPos + 1, 0, clientWidth, clientHeight}));
}

void expectIdle() {
    EXPECT_EQ(dragState, 0);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_TRUE(desktopLockIsFree());
}

} // namespace

TEST(Splitter, PressAndReleaseWithoutMovingLeavesTheBar) {
    ProgramWindow program(600, 400);
    EXPECT_EQ(splitPos, 150);
    expectLayout();
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

// The bar goes where the button goes up, not where the last move was.
TEST(Splitter, DragPutsTheBarWhereTheButtonGoesUpWithinTheMargins) {
    const struct {
        int width, x, expected;
    } cases[] = {
        {600, 5, 31},     {600, 300, 300}, {600, 598, 569},
        {600, 2000, 569}, {40, 20, 31},    {40, 35, 9}, // narrower than both margins
    };
    for (const auto& c : cases) {
        ProgramWindow program(600, 300);
        sizeBase(c.width, 300);
        int before = splitPos;
        press(before);
        move(before + 7);
        EXPECT_EQ(dragState, 2);
        move(c.x + 40);
        release(c.x);
        EXPECT_EQ(splitPos, c.expected) << c.width << " wide, up at " << c.x;
        expectIdle();
        expectLayout();
    }
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

// Narrowing pushes the bar left, with no lower bound; widening and a zero
// width (as when minimised) leave it.
TEST(Splitter, FollowsTheWidthOnlyWhenNarrowed) {
    ProgramWindow program(600, 400);
    ShowWindow(program.handle(), SW_MINIMIZE);
    ShowWindow(program.handle(), SW_RESTORE);
    pumpMessages();
    EXPECT_EQ(clientWidth, 600);
    EXPECT_EQ(splitPos, 150);
    const std::pair<int, int> widths[] = {{160, 129}, {700, 129}, {0, 129}, {20, -11}, {600, -11}};
    for (auto [width, expected] : widths) {
        sizeBase(width, 400);
        EXPECT_EQ(clientWidth, width);
        EXPECT_EQ(splitPos, expected) << width;
        if (width > 0 && expected > 0)
            expectLayout();
    }
}

TEST(Splitter, LosingTheCaptureEndsTheDrag) {
    ProgramWindow program(600, 400);
    std::vector<COLORREF> screen = screenColumn(250);
    // Taken away by another window, or released by someone else; mid-drag and
    // while only pressed.
    for (int lost = 0; lost < 4; ++lost) {
        const bool moved = lost & 1, toAnotherWindow = lost & 2;
        press(150);
        if (moved)
            move(250);
        toAnotherWindow ? (void)SetCapture(hTreeView) : (void)ReleaseCapture();
        EXPECT_EQ(dragState, 0) << lost;
        EXPECT_TRUE(desktopLockIsFree()) << lost;
        EXPECT_EQ(screenColumn(250), screen) << "the line was left on the screen";
        ReleaseCapture();
        release(250); // a late release moves nothing
        EXPECT_EQ(splitPos, 150) << lost;
        expectLayout();
    }
}
