// NAMEREPLACEDLG: the modal dialog that asks what to replace in the names and
// by what, and in a collection whether in every font. Opened with
// DialogBoxParamW and a NameReplaceRequest; ends with IDOK or IDCANCEL.
#pragma once

#include <windows.h>

#include <string>

constexpr char kNameReplaceDialog[] = "NAMEREPLACEDLG";

struct NameReplaceRequest {
    bool collection = false; // in: offer every font
    std::wstring find, with;
    bool allFonts = false;
};

INT_PTR CALLBACK nameReplaceDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
