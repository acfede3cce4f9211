#include "tables/name/name_edit_dialog.h"

#include "res/resource.h"
#include "tables/name/name_edit.h"
#include "app/wide_text.h"

const char kPostScriptNameRule[] =
    "PostScript 名は、1〜63 文字の ASCII の印字できる文字（33〜126）で、"
    "[ ] ( ) { } < > / % を含まないものにしてください。";

namespace {

NameEditRequest& requestOf(HWND dialog) {
    return *reinterpret_cast<NameEditRequest*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

void onInitDialog(HWND dialog, LPARAM lParam) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    const NameEditRequest& request = requestOf(dialog);
    SetDlgItemTextW(dialog, IDC_NAME_ID, wide(request.idText).c_str());
    SetDlgItemTextW(dialog, IDC_NAME_PLATFORM, wide(request.platformText).c_str());
    SetDlgItemTextW(dialog, IDC_NAME_LANGUAGE, wide(request.languageText).c_str());
    SetDlgItemTextW(dialog, IDC_NAME_TEXT, request.text.c_str());
}

// A name left as it was is no edit, whatever it holds.
void onConfirm(HWND dialog) {
    NameEditRequest& request = requestOf(dialog);
    std::wstring text = controlText(GetDlgItem(dialog, IDC_NAME_TEXT));
    if (request.nameID == kPostScriptNameId && text != request.text &&
        !isPostScriptName(utf16Text(text))) {
        showMessage(dialog, kPostScriptNameRule, "Error", MB_ICONERROR);
        return;
    }
    request.text = std::move(text);
    EndDialog(dialog, IDOK);
}

} // namespace

INT_PTR CALLBACK nameEditDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        onInitDialog(dialog, lParam);
        return TRUE; // the system sets the focus
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            onConfirm(dialog);
            return TRUE;
        case IDCANCEL: // the Cancel button and the Esc key
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}
