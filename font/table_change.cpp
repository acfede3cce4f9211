#include "font/table_change.h"

#include "font/byte_order.h"
#include "font/checksum.h"
#include "font/otf.h"

#include <cstring>

TableSnapshot::TableSnapshot(const uint8_t* tableStart, size_t spanLength)
    : bytes_(tableStart, tableStart + spanLength) {}

ByteRange TableSnapshot::changedRange(const uint8_t* tableStart) const {
    size_t first = 0;
    while (first < bytes_.size() && bytes_[first] == tableStart[first])
        ++first;
    if (first == bytes_.size())
        return {};
    size_t last = bytes_.size();
    while (bytes_[last - 1] == tableStart[last - 1])
        --last;
    return {first, last};
}

void TableChanges::add(size_t tableOffset, ByteRange relative) {
    if (!relative.empty())
        ranges_.push_back({tableOffset + relative.begin, tableOffset + relative.end});
}

bool TableChanges::touches(size_t begin, size_t end) const {
    // A table of no bytes has none that changed, even inside an edited table.
    if (begin >= end)
        return false;
    for (const ByteRange& range : ranges_)
        if (range.begin < end && begin < range.end)
            return true;
    return false;
}

namespace {

bool isHead(const TableRecord& record) {
    return std::strcmp(record.tag, "head") == 0;
}

// A table's checksum; head's is taken with its checkSumAdjustment as zero.
uint32_t recordChecksum(const TableRecord& record, const uint8_t* image, size_t spanLength) {
    const uint8_t* table = image + record.offset;
    uint32_t sum = sfntChecksum(table, spanLength);
    if (isHead(record) && spanLength >= kHeadMinimumSize)
        sum -= bigEndian32(table + kHeadAdjustmentOffset);
    return sum;
}

void refreshHeadAdjustment(const OTF& font, uint8_t* image, size_t imageSize) {
    for (const TableRecord& record : font.tableRecords) {
        size_t spanLength;
        if (!isHead(record) || !tableSpan(record, imageSize, spanLength) ||
            spanLength < kHeadMinimumSize)
            continue;
        uint8_t* adjustment = image + record.offset + kHeadAdjustmentOffset;
        storeBigEndian32(adjustment, 0);
        storeBigEndian32(adjustment, kChecksumMagic - sfntChecksum(image, imageSize));
        return;
    }
}

} // namespace

void refreshChecksums(OTF& font, uint8_t* image, size_t imageSize, const TableChanges& changes) {
    for (size_t i = 0; i < font.tableRecords.size(); ++i) {
        TableRecord& record = font.tableRecords[i];
        size_t spanLength;
        if (!tableSpan(record, imageSize, spanLength) ||
            !changes.touches(record.offset, record.offset + spanLength))
            continue;
        record.checkSum = recordChecksum(record, image, spanLength);
        size_t field = kOffsetTableSize + kTableRecordSize * i + kRecordChecksumOffset;
        storeBigEndian32(image + field, record.checkSum);
    }
    refreshHeadAdjustment(font, image, imageSize);
}
