#include "font/collection_header.h"

#include "font/byte_reader.h"

CollectionHeader readCollectionHeader(const uint8_t* image, size_t imageSize,
                                      CollectionHeaderFields& header) {
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
    if (numFonts > reader.remaining() / kFontOffsetSize)
        return CollectionHeader::refused;
    header = CollectionHeaderFields();
    header.majorVersion = majorVersion;
    header.minorVersion = minorVersion;
    header.fontOffsets.resize(numFonts);
    for (uint32_t& offset : header.fontOffsets)
        reader.readU32(offset);
    if (majorVersion == kSignedCollectionVersion && reader.readU32(header.dsigTag))
        header.hasSignatureFields =
            reader.readU32(header.dsigLength) && reader.readU32(header.dsigOffset);
    if (!header.hasSignatureFields)
        header.dsigLength = header.dsigOffset = 0;
    return CollectionHeader::read;
}
