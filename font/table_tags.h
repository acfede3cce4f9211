// The table tags the program knows: the tree lists these, in this order.
// Each tag's literal stands here once; the code names a tag by its constant.
#pragma once

#include <array>

inline constexpr char kCmapTag[] = "cmap";
inline constexpr char kHeadTag[] = "head";
inline constexpr char kHheaTag[] = "hhea";
inline constexpr char kHmtxTag[] = "hmtx";
inline constexpr char kMaxpTag[] = "maxp";
inline constexpr char kNameTag[] = "name";
inline constexpr char kOS2Tag[] = "OS/2";
inline constexpr char kPostTag[] = "post";
inline constexpr char kGlyfTag[] = "glyf";
inline constexpr char kLocaTag[] = "loca";
inline constexpr char kCffTag[] = "CFF ";
inline constexpr char kCff2Tag[] = "CFF2"; // not listed in the tree
inline constexpr char kDsigTag[] = "DSIG";
inline constexpr char kGaspTag[] = "gasp";

inline constexpr std::array<const char*, 34> tableTags = {
    kCmapTag, kHeadTag, kHheaTag, kHmtxTag, kMaxpTag, kNameTag, kOS2Tag, kPostTag, "cvt ",
    "fpgm",   kGlyfTag, kLocaTag, "prep",   kCffTag,  "fvar",   "MMSD",  "MMFX",  "BASE",
    "GDEF",   "GPOS",   "GSUB",   "JSTF",   "EBDT",   "EBLC",   "EBSC",  kDsigTag, kGaspTag,
    "hdmx",   "kern",   "LTSH",   "PCLT",   "VDMX",   "vhea",   "vmtx"};
