#include "app/about_box.h"

#include "app/wide_text.h"

INT_PTR CALLBACK aboutDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_COMMAND:
        // Esc arrives as IDCANCEL and is ignored on purpose.
        if (LOWORD(wParam) == IDOK)
            return EndDialog(hwnd, IDOK);
        return FALSE;
    default:
        return FALSE;
    }
}

void showAboutBox(HWND owner) {
    DialogBoxParamW(GetModuleHandleW(nullptr), wide("ABOUTBOX").c_str(), owner, aboutDialogProc, 0);
}
