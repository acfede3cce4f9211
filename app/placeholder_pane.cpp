#include "app/placeholder_pane.h"

LRESULT CALLBACK nopWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}
