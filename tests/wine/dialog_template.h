// A dialog resource of this program read back from its template, as the
// resource compiler wrote it: what the running dialog no longer shows as is
// (styles the controls change on their own, the font's name and size).
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct DialogItemTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    WORD id = 0;
    std::string className; // "Button", "Edit", "Static", ... for the predefined atoms
    std::string text;      // in the ANSI code page
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::string caption;
    WORD pointSize = 0;
    std::string typeface;
    std::vector<DialogItemTemplate> items;
};

// The plain (not extended) DIALOG template named so in this executable, or
// nothing when there is none or it cannot be read.
std::optional<DialogTemplate> loadDialogTemplate(const char* name);
