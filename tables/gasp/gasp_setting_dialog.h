// GASPSETTINGDLG: the modal dialog that edits one gasp range. It takes the
// range packed as by packGaspRange and ends with the confirmed pair in the
// same form, or with -1 when cancelled.
#pragma once

#include <windows.h>

#include <cstdint>

constexpr char kGaspSettingDialog[] = "GASPSETTINGDLG";

// The size limit of the range being edited, while the dialog is open.
extern uint16_t gaspInitialPPEM;

INT_PTR CALLBACK gaspSettingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
