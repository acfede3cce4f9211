// "OS2Window": the pane that shows the OS/2 table's embedding permissions and
// vendor ID and edits its weight class, width class and PANOSE weight.
#pragma once

#include <windows.h>

class OS2;

constexpr char kOS2PaneClass[] = "OS2Window";

// One OS/2 pane exists at a time, so its state is program-wide.
// The object shown and edited; null while there is none the pane may touch.
extern OS2* os2Object;
extern HWND hUsageCombo;
extern HWND hPanoseCombo;
extern HWND hVendorBox;
extern HWND hWeightTrackbar;
extern HWND hWeightName;
extern HWND hWidthTrackbar;
extern HWND hWidthName;

LRESULT CALLBACK os2WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
