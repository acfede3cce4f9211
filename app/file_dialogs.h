// The open and write-out dialogs for font files.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// The path the user chose, or nothing when the dialog was cancelled.
std::optional<std::wstring> askFontToOpen(HWND owner);
// A collection's default extension is ttc, every other font's ttf.
std::optional<std::wstring> askFontToWriteOut(HWND owner, bool collection);
