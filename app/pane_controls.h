// What the table panes that lay out controls of their own share: the pane
// font, controls created with it, and drawing on the pane's own colour.
#pragma once

#include <windows.h>

struct PanePlace {
    int x, y, width, height;
};

// The pane font: 12 pixels, MS P Gothic, the Shift-JIS character set. The pane that creates it
// deletes it when it is destroyed.
HFONT createPaneFont();

// A child control of pane that shows its text in font, set without a redraw.
HWND createPaneControl(HWND pane, HFONT font, const char* className, const char* text, DWORD style,
                       PanePlace place, DWORD exStyle = 0);
HWND createPaneControl(HWND pane, HFONT font, const wchar_t* className, const wchar_t* text,
                       DWORD style, PanePlace place, DWORD exStyle = 0);

// The answer to WM_CTLCOLORSTATIC: labels, check boxes, trackbars and
// disabled boxes draw on the pane's own colour (its class brush), not the
// dialog colour, so that the pane reads as one surface in every colour
// scheme; text in the colour made for it.
LRESULT paintOnPane(HDC dc);
