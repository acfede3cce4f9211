// "NOPWindow": the blank pane shown for every item without an editor.
#pragma once

#include <windows.h>

constexpr char kPlaceholderPaneClass[] = "NOPWindow";

LRESULT CALLBACK nopWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
