// The table tags the program knows: the tree lists these, in this order.
#pragma once

#include <array>

inline constexpr std::array<const char*, 34> tableTags = {
    "cmap", "head", "hhea", "hmtx", "maxp", "name", "OS/2", "post", "cvt ", "fpgm", "glyf", "loca",
    "prep", "CFF ", "fvar", "MMSD", "MMFX", "BASE", "GDEF", "GPOS", "GSUB", "JSTF", "EBDT", "EBLC",
    "EBSC", "DSIG", "gasp", "hdmx", "kern", "LTSH", "PCLT", "VDMX", "vhea", "vmtx"};

// The tags of the two tables with a model and an editor.
inline constexpr const char* kOS2Tag = "OS/2";
inline constexpr const char* kGaspTag = "gasp";
