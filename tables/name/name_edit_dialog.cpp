#include "tables/name/name_edit_dialog.h"

#include "app/modal_dialog.h"
#include "res/resource.h"
#include "tables/name/name_edit.h"
#include "app/wide_text.h"

const char kPostScriptNameRule[] =
    "PostScript 名は、1〜63 文字の ASCII の印字できる文字（33〜126）で、"
    "[ ] ( ) { } < > / % を含まないものにしてください。";

namespace {

void onInitDialog(HWND dialog) {
    const NameEditRequest& request = dialogValue<NameEditRequest>(dialog);
    SetDlgItemTextW(dialog, IDC_NAME_ID, wide(request.idText).c_str());
    SetDlgItemTextW(dialog, IDC_NAME_PLATFORM, wide(request.platformText).c_str());
    SetDlgItemTextW(dialog, IDC_NAME_LANGUAGE, wide(request.languageText).c_str());
    SetDlgItemTextW(dialog, IDC_NAME_TEXT, request.text.c_str());
}

// A name left as it was is no edit, whatever it holds.
bool onConfirm(HWND dialog) {
    NameEditRequest& request = dialogValue<NameEditRequest>(dialog);
    std::wstring text = controlText(GetDlgItem(dialog, IDC_NAME_TEXT));
    if (request.nameID == kPostScriptNameId && text != request.text &&
        !isPostScriptName(utf16Text(text))) {
        showMessage(dialog, kPostScriptNameRule, "Error", MB_ICONERROR);
        return false;
    }
    request.text = std::move(text);
    return true;
}

} // namespace

INT_PTR CALLBACK nameEditDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return modalDialogMessage(dialog, message, wParam, lParam, onInitDialog, onConfirm);
}
