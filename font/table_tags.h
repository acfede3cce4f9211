// The table tags the program knows: the tree lists these, in this order, and
// the two at kOS2TagIndex and kGaspTagIndex have a table model and an editor.
#pragma once

#include <array>
#include <cstddef>
#include <cstring>

inline constexpr std::array<const char*, 34> tableTags = {
    "cmap", "head", "hhea", "hmtx", "maxp", "name", "OS/2", "post", "cvt ", "fpgm", "glyf", "loca",
    "prep", "CFF ", "fvar", "MMSD", "MMFX", "BASE", "GDEF", "GPOS", "GSUB", "JSTF", "EBDT", "EBLC",
    "EBSC", "DSIG", "gasp", "hdmx", "kern", "LTSH", "PCLT", "VDMX", "vhea", "vmtx"};
inline constexpr size_t kOS2TagIndex = 6;
inline constexpr size_t kGaspTagIndex = 26;
inline constexpr const char* kOS2Tag = tableTags[kOS2TagIndex];
inline constexpr const char* kGaspTag = tableTags[kGaspTagIndex];

// The index of the tag equal to text (exactly: case, blanks and the NUL
// count), or tableTags.size() when none is.
inline size_t tagIndex(const char* text) {
    size_t index = 0;
    while (index < tableTags.size() && std::strcmp(tableTags[index], text) != 0)
        ++index;
    return index;
}
