// The one shape of the program's modal dialogs: the caller hands the dialog
// its value, the dialog keeps it while it is open and, once confirmed, holds
// the new value in it. A dialog ends with kDialogConfirmed, or with -1 when
// cancelled (the Cancel button, Esc), as DialogBoxParamW does when it cannot
// show the dialog.
#pragma once

#include <windows.h>

constexpr INT_PTR kDialogConfirmed = IDOK;
constexpr INT_PTR kDialogCancelled = -1;

// Shows the dialog of templateName over owner with value; true when confirmed.
template <class Value>
bool runModalDialog(HWND owner, const wchar_t* templateName, DLGPROC procedure, Value& value) {
    return DialogBoxParamW(GetModuleHandleW(nullptr), templateName, owner, procedure,
                           reinterpret_cast<LPARAM>(&value)) == kDialogConfirmed;
}

// The value the open dialog was handed.
template <class Value> Value& dialogValue(HWND dialog) {
    return *reinterpret_cast<Value*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

// The dialog procedure's messages, the same for every dialog: init fills the
// controls from the value; confirm stores them into it, or says why not and
// returns false to keep the dialog open.
INT_PTR modalDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam,
                           void (*init)(HWND dialog), bool (*confirm)(HWND dialog));
