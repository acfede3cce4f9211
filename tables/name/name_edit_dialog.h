// NAMEEDITDLG: the modal dialog that edits one name record. It shows the
// record's identity and edits its string; a PostScript name that breaks the
// rule is refused and the dialog stays open. Opened with runModalDialog
// (app/modal_dialog.h) on a NameEditRequest; confirmed, request.text holds
// the string.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

constexpr wchar_t kNameEditDialog[] = L"NAMEEDITDLG";

struct NameEditRequest {
    std::string idText, platformText, languageText; // UTF-8
    uint16_t nameID = 0;
    std::wstring text;
};

extern const char kPostScriptNameRule[];

INT_PTR CALLBACK nameEditDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
