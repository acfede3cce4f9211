#include "font/collection_header.h"

#include "font/byte_reader.h"

namespace {
constexpr uint32_t kCollectionTag = 0x74746366; // "ttcf"
constexpr size_t kOffsetSize = 4;
} // namespace

CollectionHeader readCollectionHeader(const uint8_t* image, size_t imageSize,
                                      std::vector<uint32_t>& fontOffsets) {
    ByteReader reader(image, imageSize);
    uint32_t tag = 0;
    if (!reader.readU32(tag) || tag != kCollectionTag)
        return CollectionHeader::none;
    uint16_t majorVersion = 0, minorVersion = 0;
    uint32_t numFonts = 0;
    if (!reader.readU16(majorVersion) || !reader.readU16(minorVersion) ||
        !reader.readU32(numFonts) || (majorVersion != 1 && majorVersion != 2) || numFonts == 0)
        return CollectionHeader::refused;
    // The count is checked against what is left before anything is sized by it.
    if (numFonts > reader.remaining() / kOffsetSize)
        return CollectionHeader::refused;
    fontOffsets.resize(numFonts);
    for (uint32_t& offset : fontOffsets)
        reader.readU32(offset);
    return CollectionHeader::read;
}
