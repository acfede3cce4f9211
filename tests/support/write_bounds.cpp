#include "tests/support/write_bounds.h"

#include "font/checksum.h"
#include "font/otf.h"
#include "tables/gasp/gasp_header.h"
#include "tables/os2/os2.h"

#include <cstring>

size_t objectWriteExtent(const OTF& otf, const char* tag) {
    fontObject* object = nullptr;
    if (!otf.findTable(tag, object) || object == nullptr || !object->valid)
        return 0;
    if (auto* gasp = dynamic_cast<const gaspHeader*>(object))
        return gasp->bytesRead();
    if (auto* os2 = dynamic_cast<const OS2*>(object))
        return OS2::sizeForVersion(os2->version);
    return 0;
}

namespace {

void allow(std::vector<bool>& writable, size_t begin, size_t length) {
    for (size_t i = begin; i < begin + length && i < writable.size(); ++i)
        writable[i] = true;
}

} // namespace

std::vector<bool> writableBytes(const OTF& otf, size_t imageSize) {
    std::vector<bool> writable(imageSize, false);
    for (size_t i = 0; i < otf.tableRecords.size(); ++i) {
        const TableRecord& record = otf.tableRecords[i];
        allow(writable, kOffsetTableSize + kTableRecordSize * i + kRecordChecksumOffset, 4);
        size_t spanLength;
        if (!tableSpan(record, imageSize, spanLength))
            continue;
        // An object never writes into a span shorter than what it read.
        size_t extent = objectWriteExtent(otf, record.tag);
        if (extent <= spanLength)
            allow(writable, record.offset, extent);
        if (std::strcmp(record.tag, "head") == 0 && spanLength >= kHeadMinimumSize)
            allow(writable, record.offset + kHeadAdjustmentOffset, 4);
    }
    return writable;
}

std::optional<size_t> strayChange(const uint8_t* before, const uint8_t* after, size_t size,
                                  const std::vector<bool>& writable) {
    for (size_t i = 0; i < size; ++i)
        if (before[i] != after[i] && !(i < writable.size() && writable[i]))
            return i;
    return std::nullopt;
}
