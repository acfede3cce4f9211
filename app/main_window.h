// The main window "fontab": menu, status bar and the base window below the
// menu, and the open font that every other window reads.
#pragma once

#include "font/font_file.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

// The open font: both null, and fileLength 0, while no font is open.
extern FileImage fileImage;
extern int32_t fileLength;
extern std::unique_ptr<OTF> otf;

extern HWND hBaseWindow;
extern HWND hStatusBar;

// The status bar's one part.
void setStatusText(const std::string& text);

// Called after every change a pane or command stores into the open font: the
// main window's title then says whether there are unsaved edits.
void noteFontEdited();

// Registers "fontab", every pane class and the line-spacing preview; 0 as
// soon as one fails.
ATOM registerWindowClasses();

// Creates and shows the main window; null when it cannot be created.
HWND createMainWindow(int nCmdShow);

LRESULT CALLBACK mainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
