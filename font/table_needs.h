// Which tables need which. A table cannot go without the tables that need
// it: removing it takes them too. Where one of those is a table the font
// cannot be drawn without (its outlines, or their variations in gvar),
// nothing goes.
#pragma once

#include "font/font_directory.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What a font's bytes say about the needs that hold only in some fonts.
struct FontNeeds {
    bool instructedGlyphs = false; // a glyph carries instructions: fpgm, prep and cvt go together
    bool variedCff2 = false;       // CFF2 holds a variation store, so it needs fvar
};

// glyphsLeft bounds the glyphs looked at over every font of a file, so that
// a hostile collection of many directories over one loca stays in
// proportion to its size; once it is spent, the glyphs count as instructed.
FontNeeds readFontNeeds(const FontDirectory& font, const uint8_t* image, size_t imageSize,
                        size_t& glyphsLeft);

// The tables a font cannot be drawn or installed without.
bool isRequiredTable(const char* tag);

// What removing a table from a font means.
struct TableRemoval {
    // The table first, then every table that needs one of the group; empty
    // when nothing may go.
    std::vector<std::string> tags;
    // Set when nothing may go because this table, which the font cannot do
    // without, needs the table.
    std::string refusedFor;
};

// A table the font does not list, or one it cannot do without, has no
// removal (both fields empty).
TableRemoval tableRemoval(const FontDirectory& font, const FontNeeds& needs, const char* tag);
