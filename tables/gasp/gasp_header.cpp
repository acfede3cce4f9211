#include "tables/gasp/gasp_header.h"

#include "font/byte_reader.h"
#include "font/byte_writer.h"

namespace {
constexpr size_t kGaspHeaderSize = 4;
constexpr size_t kGaspRecordSize = 4;
} // namespace

gaspHeader::gaspHeader(const uint8_t* tableStart, size_t spanLength) {
    ByteReader reader(tableStart, spanLength);
    if (!reader.readU16(version) || !reader.readU16(numRanges))
        return;
    for (uint16_t i = 0; i < numRanges && reader.remaining() >= kGaspRecordSize; ++i) {
        uint16_t rangeMaxPPEM = 0;
        uint16_t behavior = 0;
        reader.readU16(rangeMaxPPEM);
        reader.readU16(behavior);
        // A size listed twice keeps the behaviour of its last record.
        ranges[rangeMaxPPEM] = behavior;
    }
    bytesRead_ = reader.offset();
    valid = 1;
}

bool gaspHeader::writeTable(uint8_t* tableStart, size_t spanLength) {
    if (!valid)
        return false;
    size_t recordsRead = (bytesRead_ - kGaspHeaderSize) / kGaspRecordSize;
    if (spanLength < bytesRead_ || ranges.size() > recordsRead)
        return false;
    ByteWriter writer(tableStart, bytesRead_);
    writer.writeU16(version);
    writer.writeU16(numRanges);
    for (const auto& [rangeMaxPPEM, behavior] : ranges) {
        writer.writeU16(rangeMaxPPEM);
        writer.writeU16(behavior);
    }
    return true;
}
