#include "tests/support/write_bounds.h"

#include "font/checksum.h"
#include "font/otf.h"
#include "font/table_tags.h"
#include "tables/gasp/gasp_range_edit.h"
#include "tables/os2/os2.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>

namespace {

// Bytes a table object writes from its table's start: 0 when it writes none.
size_t objectWriteExtent(const OTF& otf, const char* tag) {
    if (const gaspHeader* gasp = otf.tableOf<gaspHeader>(tag))
        return gasp->valid ? gasp->bytesRead() : 0;
    if (const OS2* os2 = otf.tableOf<OS2>(tag))
        return os2->valid ? OS2::sizeForVersion(os2->version) : 0;
    return 0;
}

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

void editLikeThePanes(OTF& otf, const PaneEdits& edits) {
    if (gaspHeader* gasp = otf.tableOf<gaspHeader>(kGaspTag); gasp && !gasp->ranges.empty()) {
        auto row = std::next(gasp->ranges.begin(),
                             static_cast<std::ptrdiff_t>(edits.gaspRow % gasp->ranges.size()));
        const uint16_t oldPPEM = row->first;
        if (auto limit = gaspLimitFromTyped(edits.gaspTyped, edits.gaspInPoints, oldPPEM))
            replaceGaspRange(gasp->ranges, oldPPEM, packGaspRange(*limit, edits.gaspFlags));
    }
    if (OS2* os2 = otf.tableOf<OS2>(kOS2Tag)) {
        os2->usWeightClass = edits.weightClass;
        os2->usWidthClass = edits.widthClass;
        os2->panose[kPanoseWeightIndex] = edits.panoseWeight;
    }
}

const char* brokenWriteRule(const uint8_t* data, size_t size, const PaneEdits& edits) {
    std::unique_ptr<uint8_t[]> block(new uint8_t[size]);
    uint8_t* image = block.get();
    std::copy(data, data + size, image);
    OTF otf(image, size);
    const bool fits = size >= 12 && size >= 12 + 16 * size_t((data[4] << 8) | data[5]);
    if ((otf.valid != 0) != fits)
        return "valid exactly when the directory fits";
    if (!otf.valid) {
        otf.writeTable(image, size);
        return otf.tableRecords.empty() && std::equal(data, data + size, image)
                   ? nullptr
                   : "a refused font has no records and writes nothing";
    }
    fontObject* object = nullptr;
    for (const TableRecord& record : otf.tableRecords)
        if (!otf.findTable(record.tag, object))
            return "every listed tag is found";
    if (otf.tableRecords.size() != otf.numTables)
        return "one record per table";
    const std::vector<bool> writable = writableBytes(otf, size);
    if (!otf.writeTable(image, size) || strayChange(data, image, size, writable) ||
        !std::equal(data, data + size, image))
        return "an unedited write-out is byte-identical";
    editLikeThePanes(otf, edits);
    // A record moved in memory by the first write-out shows in this one.
    if (!otf.writeTable(image, size) || strayChange(data, image, size, writable))
        return "only the objects' bytes, the checksums and head's adjustment change";
    return nullptr;
}
