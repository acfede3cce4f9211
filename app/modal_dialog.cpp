#include "app/modal_dialog.h"

INT_PTR modalDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam,
                           void (*init)(HWND dialog), bool (*confirm)(HWND dialog)) {
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        init(dialog);
        return TRUE; // the system sets the focus
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            if (confirm(dialog))
                EndDialog(dialog, kDialogConfirmed);
            return TRUE;
        case IDCANCEL: // the Cancel button and the Esc key
            EndDialog(dialog, kDialogCancelled);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}
