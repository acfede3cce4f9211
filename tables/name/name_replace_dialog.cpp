#include "tables/name/name_replace_dialog.h"

#include "res/resource.h"
#include "app/wide_text.h"

namespace {

NameReplaceRequest& requestOf(HWND dialog) {
    return *reinterpret_cast<NameReplaceRequest*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

void onInitDialog(HWND dialog, LPARAM lParam) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    const NameReplaceRequest& request = requestOf(dialog);
    SetDlgItemTextW(dialog, IDC_NAME_FIND, request.find.c_str());
    SetDlgItemTextW(dialog, IDC_NAME_REPLACE, request.with.c_str());
    // A single font has no other fonts to offer.
    HWND allFonts = GetDlgItem(dialog, IDC_NAME_ALL_FONTS);
    ShowWindow(allFonts, request.collection ? SW_SHOW : SW_HIDE);
    EnableWindow(allFonts, request.collection);
}

void onConfirm(HWND dialog) {
    NameReplaceRequest& request = requestOf(dialog);
    request.find = controlText(GetDlgItem(dialog, IDC_NAME_FIND));
    request.with = controlText(GetDlgItem(dialog, IDC_NAME_REPLACE));
    request.allFonts =
        request.collection && IsDlgButtonChecked(dialog, IDC_NAME_ALL_FONTS) == BST_CHECKED;
    EndDialog(dialog, IDOK);
}

} // namespace

INT_PTR CALLBACK nameReplaceDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        onInitDialog(dialog, lParam);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            onConfirm(dialog);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}
