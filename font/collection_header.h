// The header of a font collection (.ttc, .otc): the tag "ttcf", its version,
// the offsets of its fonts' offset tables and, in version 2, the place of
// its signature block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr uint32_t kCollectionTag = 0x74746366; // "ttcf"
constexpr size_t kCollectionHeaderSize = 12;    // "ttcf", version, numFonts
constexpr size_t kFontOffsetSize = 4;
constexpr size_t kSignatureFieldsSize = 12; // version 2: ulDsigTag, ulDsigLength, ulDsigOffset
constexpr uint16_t kSignedCollectionVersion = 2;

enum class CollectionHeader {
    none,    // not a collection: the file is one font
    refused, // a collection header that does not fit the image or is of an unknown version
    read,
};

struct CollectionHeaderFields {
    uint16_t majorVersion = 0;
    uint16_t minorVersion = 0;
    std::vector<uint32_t> fontOffsets;
    // Version 2's signature fields, those the image holds; the block's length
    // and offset count only when all three are there.
    uint32_t dsigTag = 0;
    uint32_t dsigLength = 0;
    uint32_t dsigOffset = 0;
    bool hasSignatureFields = false;
};

// Reads the header at the start of the image into header, which is filled
// only for a header that was read.
CollectionHeader readCollectionHeader(const uint8_t* image, size_t imageSize,
                                      CollectionHeaderFields& header);
