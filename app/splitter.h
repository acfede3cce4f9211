// The splitter between the tree and the pane: a press on the bar, a drag that
// inverts a line on the screen, and the bar's new place where the button goes
// up. The base window tells it the bar's place and its own width, and moves
// the bar itself.
#pragma once

#include <windows.h>

#include <cstdint>

// 0 idle, 1 pressed on the bar, 2 dragging.
extern int32_t dragState;

// The splitter keeps this far from either edge when dragged.
constexpr int32_t kSplitMargin = 31;

// x kept kSplitMargin from the left edge of a client area width wide, then
// from its right edge.
int32_t clampSplitX(int32_t x, int32_t width);

// Inverts the 3-pixel drag line at client x on the screen; twice restores it.
void invertSplitLine(HWND baseWindow, int32_t x);

// Forgets any drag: a later base window starts idle.
void resetSplitter();

void splitterButtonDown(HWND baseWindow, int32_t barX);
void splitterMouseMove(HWND baseWindow, int32_t x, int32_t width);
// Where the bar goes (x clamped) when a drag ends here; -1 when none did.
int32_t splitterButtonUp(HWND baseWindow, int32_t x, int32_t width);
// The capture went elsewhere: the drag ends where it is, the bar stays.
void splitterCaptureLost(HWND baseWindow, HWND newCapture);
