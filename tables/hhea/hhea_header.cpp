#include "tables/hhea/hhea_header.h"

#include "font/field_stream.h"

#include <vector>

template <class Stream, class Table> bool hheaHeader::transferFields(Stream& s, Table& t) {
    return s.u16(t.majorVersion) && s.u16(t.minorVersion) && s.s16(t.ascender) &&
           s.s16(t.descender) && s.s16(t.lineGap) && s.u16(t.advanceWidthMax) &&
           s.s16(t.minLeftSideBearing) && s.s16(t.minRightSideBearing) && s.s16(t.xMaxExtent) &&
           s.s16(t.caretSlopeRise) && s.s16(t.caretSlopeRun) && s.s16(t.caretOffset) &&
           s.s16(t.reserved[0]) && s.s16(t.reserved[1]) && s.s16(t.reserved[2]) &&
           s.s16(t.reserved[3]) && s.s16(t.metricDataFormat) && s.u16(t.numberOfHMetrics);
}

hheaHeader::hheaHeader(const uint8_t* tableStart, size_t spanLength) {
    if (spanLength < kHheaSize)
        return;
    ByteReader reader(tableStart, kHheaSize);
    FieldReader fields{reader};
    valid = transferFields(fields, *this) && majorVersion == kHheaMajorVersion ? 1 : 0;
}

bool hheaHeader::writeTable(uint8_t* tableStart, size_t spanLength) {
    if (!valid || spanLength < kHheaSize)
        return false;
    std::vector<uint8_t> bytes(kHheaSize);
    ByteWriter serializer(bytes.data(), bytes.size());
    FieldWriter fields{serializer};
    if (!transferFields(fields, static_cast<const hheaHeader&>(*this)))
        return false;
    ByteWriter writer(tableStart, kHheaSize);
    return writer.writeBytes(bytes.data(), bytes.size());
}
