// The splitter through the base window's own mouse messages: its clamps,
// narrowing and minimising, and losing the capture.
#include "tests/wine/program_windows.h"

namespace {

void mouse(UINT message, int x, WPARAM keys = MK_LBUTTON) {
    SendMessageW(hBaseWindow, message, keys, MAKELPARAM(static_cast<WORD>(x), 10));
}

void expectIdleAndLaidOut() {
    EXPECT_EQ(dragState, 0);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_TRUE(LockWindowUpdate(hTreeView)) << "the desktop lock was kept";
    LockWindowUpdate(nullptr);
    RECT tree = rectInParent(hTreeView), pane = rectInParent(hPane);
    EXPECT_EQ(std::vector<LONG>({tree.right, pane.left, pane.right}),
              std::vector<LONG>({splitPos - 1, splitPos + 1, clientWidth}));
}

} // namespace

// The bar goes where the button goes up, kept 31 from either edge of 600.
TEST(Splitter, ClampsAtItsMargins) {
    const std::pair<int, int> cases[] = {{31, 31}, {30, 31}, {300, 300}, {569, 569}, {570, 569}};
    for (auto [x, expected] : cases) {
        ProgramWindow program;
        MoveWindow(hBaseWindow, 0, 0, 600, 300, TRUE);
        mouse(WM_LBUTTONDOWN, splitPos);
        EXPECT_EQ(std::make_pair(dragState, GetCapture()), std::make_pair(1, hBaseWindow));
        mouse(WM_MOUSEMOVE, splitPos + 7);
        EXPECT_EQ(dragState, 2);
        mouse(WM_MOUSEMOVE, x + 40);
        mouse(WM_LBUTTONUP, x, 0);
        EXPECT_EQ(splitPos, expected) << "up at " << x;
        expectIdleAndLaidOut();
    }
}

// Narrowing past the bar pushes it left; widening and a zero width (as when
// minimised) leave it.
TEST(Splitter, FollowsTheWidthOnlyWhenNarrowed) {
    ProgramWindow program;
    ShowWindow(program.handle(), SW_MINIMIZE);
    ShowWindow(program.handle(), SW_RESTORE);
    pumpMessages();
    EXPECT_EQ(splitPos, 150);
    const std::pair<int, int> widths[] = {{181, 150}, {180, 149}, {700, 149}, {0, 149}, {20, -11}};
    for (auto [width, expected] : widths) {
        MoveWindow(hBaseWindow, 0, 0, width, 400, TRUE);
        EXPECT_EQ(clientWidth, width);
        EXPECT_EQ(splitPos, expected) << width;
    }
}

TEST(Splitter, LosingTheCaptureEndsTheDrag) {
    ProgramWindow program;
    // Taken by another window or released, mid-drag or only pressed.
    for (int lost = 0; lost < 4; ++lost) {
        mouse(WM_LBUTTONDOWN, 150);
        if (lost & 1)
            mouse(WM_MOUSEMOVE, 250);
        (lost & 2) ? (void)SetCapture(hTreeView) : (void)ReleaseCapture();
        EXPECT_EQ(dragState, 0) << lost;
        ReleaseCapture();
        mouse(WM_LBUTTONUP, 250, 0); // a late release moves nothing
        EXPECT_EQ(splitPos, 150) << lost;
        expectIdleAndLaidOut();
    }
}

// A window closed with its bar moved leaves nothing behind: the next one
// starts with the bar at its first place.
TEST(Splitter, ASecondWindowStartsWhereTheFirstDid) {
    {
        ProgramWindow first;
        MoveWindow(hBaseWindow, 0, 0, 600, 300, TRUE);
        mouse(WM_LBUTTONDOWN, splitPos);
        mouse(WM_MOUSEMOVE, 300);
        mouse(WM_LBUTTONUP, 300, 0);
        ASSERT_EQ(splitPos, 300);
    }
    EXPECT_EQ(std::make_tuple(hBaseWindow, hTreeView, hPane, splitPos),
              std::make_tuple(HWND{}, HWND{}, HWND{}, 150));
    ProgramWindow second;
    MoveWindow(hBaseWindow, 0, 0, 600, 300, TRUE);
    EXPECT_EQ(splitPos, 150);
    expectIdleAndLaidOut();
}
