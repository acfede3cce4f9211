#include "font/table_needs.h"

#include "font/byte_reader.h"
#include "font/table_tags.h"

#include <algorithm>
#include <cstring>

namespace {

enum class When { always, instructedGlyphs, variedCff2 };

// table cannot do without needs (when the condition holds in the font).
struct Need {
    const char* table;
    const char* needs;
    When when;
};

// The bitmap glyphs' data and their locations only work as a pair, and the
// bitmap scaling table points into the locations. The vertical header counts
// the vertical metrics. Every variation table, and a CFF2 that blends, reads
// its axes from fvar. Instructions in the glyphs call fpgm's functions and
// read the values of cvt that prep sets up: the three work together.
constexpr Need kNeeds[] = {
    {"EBDT", "EBLC", When::always},           {"EBLC", "EBDT", When::always},
    {"EBSC", "EBLC", When::always},           {"vhea", "vmtx", When::always},
    {"vmtx", "vhea", When::always},           {"gvar", "fvar", When::always},
    {kCff2Tag, "fvar", When::variedCff2},     {"avar", "fvar", When::always},
    {"cvar", "fvar", When::always},           {"HVAR", "fvar", When::always},
    {"VVAR", "fvar", When::always},           {"MVAR", "fvar", When::always},
    {"fpgm", "prep", When::instructedGlyphs}, {"fpgm", "cvt ", When::instructedGlyphs},
    {"prep", "fpgm", When::instructedGlyphs}, {"prep", "cvt ", When::instructedGlyphs},
    {"cvt ", "fpgm", When::instructedGlyphs}, {"cvt ", "prep", When::instructedGlyphs},
};

// gvar holds the outlines' variations: a variable font without it no longer varies.
constexpr char kGvarTag[] = "gvar";

constexpr size_t kIndexToLocFormatAt = 50; // in head
constexpr size_t kNumGlyphsAt = 4;         // in maxp
constexpr size_t kBoundingBoxSize = 8;     // after a glyph's numberOfContours
constexpr uint16_t kArgsAreWords = 0x0001, kHasScale = 0x0008, kMoreComponents = 0x0020,
                   kHasXYScale = 0x0040, kHasTwoByTwo = 0x0080, kHasInstructions = 0x0100;
constexpr uint8_t kVstoreOperator = 24, kEscape = 12, kShortInt = 28, kLongInt = 29, kReal = 30,
                  kFirstTwoByteInt = 247, kLastTwoByteInt = 254;

// The bytes the file holds of font's table tag; empty when it has none.
ByteReader tableReader(const FontDirectory& font, const uint8_t* image, size_t imageSize,
                       const char* tag) {
    const TableRecord* record = font.record(tag);
    size_t span = 0;
    if (record == nullptr || !tableSpan(*record, imageSize, span))
        return ByteReader(image, 0);
    return ByteReader(image + record->offset, span);
}

bool glyphInstructed(ByteReader glyph) {
    int16_t contours = 0;
    uint16_t length = 0;
    if (!glyph.readS16(contours) || !glyph.skip(kBoundingBoxSize))
        return false;
    if (contours >= 0) // endPtsOfContours, then the instructions' length
        return glyph.skip(2 * static_cast<size_t>(contours)) && glyph.readU16(length) &&
               length != 0;
    uint16_t flags = kMoreComponents;
    while (flags & kMoreComponents) {
        if (!glyph.readU16(flags))
            return false;
        const size_t transform = (flags & kHasScale)      ? 2
                                 : (flags & kHasXYScale)  ? 4
                                 : (flags & kHasTwoByTwo) ? 8
                                                          : 0;
        if (!glyph.skip(2 + ((flags & kArgsAreWords) ? 4 : 2) + transform))
            return false;
    }
    return (flags & kHasInstructions) && glyph.readU16(length) && length != 0;
}

bool instructedGlyphs(const FontDirectory& font, const uint8_t* image, size_t imageSize,
                      size_t& glyphsLeft) {
    ByteReader head = tableReader(font, image, imageSize, kHeadTag);
    ByteReader maxp = tableReader(font, image, imageSize, kMaxpTag);
    ByteReader loca = tableReader(font, image, imageSize, kLocaTag);
    const TableRecord* glyf = font.record(kGlyfTag);
    size_t glyfSize = 0;
    int16_t format = 0;
    uint16_t count = 0;
    if (glyf == nullptr || !tableSpan(*glyf, imageSize, glyfSize) ||
        !head.seek(kIndexToLocFormatAt) || !head.readS16(format) || !maxp.seek(kNumGlyphsAt) ||
        !maxp.readU16(count))
        return false;
    auto next = [&](uint32_t& at) { // loca's short offsets are halved
        if (format != 0)
            return loca.readU32(at);
        uint16_t half = 0;
        if (!loca.readU16(half))
            return false;
        at = 2 * uint32_t{half};
        return true;
    };
    uint32_t start = 0, end = 0;
    if (!next(start))
        return false;
    for (uint16_t glyph = 0; glyph < count && next(end); ++glyph, start = end) {
        if (glyphsLeft == 0) // taken as instructed: the hinting tables stay together
            return true;
        --glyphsLeft;
        if (start < end && end <= glyfSize &&
            glyphInstructed(ByteReader(image + glyf->offset + start, end - start)))
            return true;
    }
    return false;
}

// Whether the Top DICT of a CFF2 table names a variation store.
bool variedCff2(ByteReader cff2) {
    uint8_t headerSize = 0, byte = 0;
    uint16_t dictLength = 0;
    if (!cff2.skip(2) || !cff2.readU8(headerSize) || !cff2.readU16(dictLength) ||
        !cff2.seek(headerSize))
        return false;
    const size_t end = size_t{headerSize} + dictLength;
    while (cff2.offset() < end && cff2.readU8(byte)) {
        bool read = true;
        if (byte == kVstoreOperator)
            return true;
        if (byte == kEscape)
            read = cff2.skip(1);
        else if (byte == kShortInt)
            read = cff2.skip(2);
        else if (byte == kLongInt)
            read = cff2.skip(4);
        else if (byte >= kFirstTwoByteInt && byte <= kLastTwoByteInt)
            read = cff2.skip(1);
        else if (byte == kReal) // nibbles up to the one that is 0xF
            for (uint8_t nibbles = 0; read && (nibbles & 0x0F) != 0x0F && (nibbles >> 4) != 0x0F;)
                read = cff2.readU8(nibbles);
        if (!read)
            return false;
    }
    return false;
}

bool holds(When when, const FontNeeds& needs) {
    switch (when) {
    case When::instructedGlyphs:
        return needs.instructedGlyphs;
    case When::variedCff2:
        return needs.variedCff2;
    case When::always:
        break;
    }
    return true;
}

} // namespace

FontNeeds readFontNeeds(const FontDirectory& font, const uint8_t* image, size_t imageSize,
                        size_t& glyphsLeft) {
    FontNeeds needs;
    needs.instructedGlyphs = instructedGlyphs(font, image, imageSize, glyphsLeft);
    needs.variedCff2 = variedCff2(tableReader(font, image, imageSize, kCff2Tag));
    return needs;
}

bool isRequiredTable(const char* tag) {
    for (const char* required : {kHeadTag, kHheaTag, kMaxpTag, kCmapTag, kNameTag, kOS2Tag,
                                 kPostTag, kHmtxTag, kGlyfTag, kLocaTag, kCffTag, kCff2Tag})
        if (std::strcmp(tag, required) == 0)
            return true;
    return false;
}

TableRemoval tableRemoval(const FontDirectory& font, const FontNeeds& needs, const char* tag) {
    TableRemoval removal;
    if (isRequiredTable(tag) || font.record(tag) == nullptr)
        return removal;
    std::vector<std::string> group = {tag};
    for (size_t i = 0; i < group.size(); ++i)
        for (const Need& need : kNeeds)
            if (group[i] == need.needs && holds(need.when, needs) &&
                font.record(need.table) != nullptr &&
                std::find(group.begin(), group.end(), need.table) == group.end())
                group.emplace_back(need.table);
    for (size_t i = 1; i < group.size(); ++i)
        if (isRequiredTable(group[i].c_str()) || group[i] == kGvarTag) {
            removal.refusedFor = group[i];
            return removal;
        }
    removal.tags = std::move(group);
    return removal;
}
