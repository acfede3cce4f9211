#include "app/placeholder_pane.h"

LRESULT CALLBACK nopWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
