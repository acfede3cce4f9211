#include "tables/head/font_header.h"

#include "font/byte_reader.h"

namespace {

constexpr size_t kUnitsPerEmAt = 18;
constexpr size_t kYMinAt = 38;
constexpr size_t kYMaxAt = 42;

} // namespace

fontHeader::fontHeader(const uint8_t* tableStart, size_t spanLength) {
    if (spanLength < kHeadSize)
        return;
    ByteReader reader(tableStart, kHeadSize);
    uint16_t version = 0, units = 0;
    int16_t low = 0, high = 0;
    if (!reader.readU16(version) || version != kHeadMajorVersion || !reader.seek(kUnitsPerEmAt) ||
        !reader.readU16(units) || !reader.seek(kYMinAt) || !reader.readS16(low) ||
        !reader.seek(kYMaxAt) || !reader.readS16(high))
        return;
    majorVersion = version;
    unitsPerEm = units;
    yMin = low;
    yMax = high;
    valid = 1;
}
