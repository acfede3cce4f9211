#include "tables/name/name_replace_dialog.h"

#include "app/modal_dialog.h"
#include "res/resource.h"
#include "app/wide_text.h"

namespace {

void onInitDialog(HWND dialog) {
    const NameReplaceRequest& request = dialogValue<NameReplaceRequest>(dialog);
    SetDlgItemTextW(dialog, IDC_NAME_FIND, request.find.c_str());
    SetDlgItemTextW(dialog, IDC_NAME_REPLACE, request.with.c_str());
    // A single font has no other fonts to offer.
    HWND allFonts = GetDlgItem(dialog, IDC_NAME_ALL_FONTS);
    ShowWindow(allFonts, request.collection ? SW_SHOW : SW_HIDE);
    EnableWindow(allFonts, request.collection);
}

bool onConfirm(HWND dialog) {
    NameReplaceRequest& request = dialogValue<NameReplaceRequest>(dialog);
    request.find = controlText(GetDlgItem(dialog, IDC_NAME_FIND));
    request.with = controlText(GetDlgItem(dialog, IDC_NAME_REPLACE));
    request.allFonts =
        request.collection && IsDlgButtonChecked(dialog, IDC_NAME_ALL_FONTS) == BST_CHECKED;
    return true;
}

} // namespace

INT_PTR CALLBACK nameReplaceDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return modalDialogMessage(dialog, message, wParam, lParam, onInitDialog, onConfirm);
}
