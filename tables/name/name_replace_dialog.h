// NAMEREPLACEDLG: the modal dialog that asks what to replace in the names and
// by what, and in a collection whether in every font. Opened with
// runModalDialog (app/modal_dialog.h) on a NameReplaceRequest.
#pragma once

#include <windows.h>

#include <string>

constexpr wchar_t kNameReplaceDialog[] = L"NAMEREPLACEDLG";

struct NameReplaceRequest {
    bool collection = false; // in: offer every font
    std::wstring find, with;
    bool allFonts = false;
};

INT_PTR CALLBACK nameReplaceDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
