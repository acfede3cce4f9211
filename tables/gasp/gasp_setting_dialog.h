// GASPSETTINGDLG: the modal dialog that edits one gasp range, opened with
// runModalDialog (app/modal_dialog.h) on a uint32_t that holds the range
// packed as by packGaspRange; confirmed, it holds the new pair in the same
// form.
#pragma once

#include <windows.h>

constexpr wchar_t kGaspSettingDialog[] = L"GASPSETTINGDLG";

INT_PTR CALLBACK gaspSettingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
