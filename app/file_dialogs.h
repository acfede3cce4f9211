// The open and write-out dialogs for font files.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// The path the user chose, or nothing when the dialog was cancelled.
std::optional<std::string> askFontToOpen(HWND owner);
std::optional<std::string> askFontToWriteOut(HWND owner);
