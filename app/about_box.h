// The About box: modal, closed only by its button or Enter.
#pragma once

#include <windows.h>

INT_PTR CALLBACK aboutDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

void showAboutBox(HWND owner);
