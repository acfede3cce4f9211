#include "app/splitter.h"

int32_t dragState = 0;

namespace {

// Where the drag line stands, in base window client coordinates.
int32_t dragX = 0;
// -1 until the first line of a drag is drawn, then the line before the current one.
int32_t dragPrevX = -1;

constexpr int32_t kIdle = 0;
constexpr int32_t kPressed = 1;
constexpr int32_t kDragging = 2;
constexpr int32_t kLineWidth = 3;

} // namespace

int32_t clampSplitX(int32_t x, int32_t width) {
    if (x < kSplitMargin)
        return kSplitMargin;
    if (x > width - kSplitMargin)
        return width - kSplitMargin;
    return x;
}

void invertSplitLine(HWND baseWindow, int32_t x) {
    HWND desktop = GetDesktopWindow();
    HDC dc = GetDCEx(desktop, nullptr, DCX_LOCKWINDOWUPDATE);
    RECT line = {};
    GetWindowRect(baseWindow, &line); // the base window has no border
    line.left += x - 1;
    line.right = line.left + kLineWidth;
    InvertRect(dc, &line);
    ReleaseDC(desktop, dc);
}

void resetSplitter() {
    dragState = kIdle;
    dragX = 0;
    dragPrevX = -1;
}

void splitterButtonDown(HWND baseWindow, int32_t barX) {
    if (dragState != kIdle)
        return;
    dragState = kPressed;
    dragPrevX = -1;
    dragX = barX;
    // The screen holds still while the line is drawn over it.
    LockWindowUpdate(GetDesktopWindow());
    SetCapture(baseWindow);
}

void splitterMouseMove(HWND baseWindow, int32_t x, int32_t width) {
    if (dragState != kPressed && dragState != kDragging)
        return;
    dragState = kDragging;
    if (dragPrevX != -1)
        invertSplitLine(baseWindow, dragX);
    dragPrevX = dragX;
    dragX = clampSplitX(x, width);
    invertSplitLine(baseWindow, dragX);
}

int32_t splitterButtonUp(HWND baseWindow, int32_t x, int32_t width) {
    if (dragState == kIdle)
        return -1;
    int32_t barX = -1;
    if (dragState == kDragging) {
        barX = clampSplitX(x, width);
        invertSplitLine(baseWindow, dragX);
    }
    // Idle first: the ReleaseCapture below reports a capture change.
    dragState = kIdle;
    LockWindowUpdate(nullptr);
    ReleaseCapture();
    return barX;
}

void splitterCaptureLost(HWND baseWindow, HWND newCapture) {
    if (dragState == kIdle || newCapture == baseWindow)
        return;
    // A line stands on the screen only once the drag has moved.
    if (dragState == kDragging)
        invertSplitLine(baseWindow, dragX);
    dragState = kIdle;
    LockWindowUpdate(nullptr);
}
