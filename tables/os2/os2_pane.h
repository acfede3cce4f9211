// "OS2Window": the pane that shows the OS/2 table's embedding permissions and
// vendor ID and edits its weight class, width class and PANOSE weight.
#pragma once

#include <windows.h>

#include <cstddef>

class OS2;

constexpr char kOS2PaneClass[] = "OS2Window";

// One OS/2 pane exists at a time, so its state is program-wide.
extern HFONT hOS2Font;
// The object shown and edited; null while there is none the pane may touch.
extern OS2* os2Object;
extern HWND hUsageCombo;
extern HWND hPanoseCombo;
extern HWND hVendorBox;
extern HWND hWeightTrackbar;
extern HWND hWeightName;
extern HWND hWidthTrackbar;
extern HWND hWidthName;

// Scratch space for a name or the vendor ID on its way to a control.
constexpr size_t kOS2TextBufferSize = 64;
extern wchar_t os2TextBuffer[kOS2TextBufferSize];

LRESULT CALLBACK os2WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
