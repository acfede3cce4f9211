// What the two kinds of write-out share: where the changed objects write,
// and how a table's record checksum is taken.
#pragma once

#include "font/checksum.h"
#include "font/font_object.h"
#include "font/otf.h"
#include "font/overlay.h"
#include "font/table_tags.h"

#include <cstddef>
#include <cstring>
#include <optional>

// One table a changed object writes: a listed record of a font and the
// object its font's tag stands for (of a tag in two records, the later one's).
struct WriteSite {
    size_t font;
    size_t record;
    fontObject* object;
};

// The checksum of the length bytes at begin; head's is taken with its
// checkSumAdjustment as zero, since the whole file's sum sets that field.
inline uint32_t tableChecksum(const char* tag, const Overlay& bytes, size_t begin, size_t length) {
    uint32_t sum = bytes.checksum(begin, length);
    if (std::strcmp(tag, kHeadTag) == 0 && length >= kHeadMinimumSize)
        sum -= bytes.u32At(begin + kHeadAdjustmentOffset);
    return sum;
}

// The record of directory whose table takes the head adjustment a
// single-font write-out sets: the first listed head record whose table holds
// the field.
inline std::optional<size_t> adjustedHeadRecordOf(const FontDirectory& directory,
                                                  size_t imageSize) {
    for (size_t i = 0; i < directory.tableRecords.size(); ++i) {
        const TableRecord& record = directory.tableRecords[i];
        size_t spanLength;
        if (directory.lists(i) && std::strcmp(record.tag, kHeadTag) == 0 &&
            tableSpan(record, imageSize, spanLength) && spanLength >= kHeadMinimumSize)
            return i;
    }
    return std::nullopt;
}

// In a single font, font 0's such record. None in a collection, whose fonts
// keep theirs as read.
inline std::optional<size_t> adjustedHeadRecord(const OTF& otf, size_t imageSize) {
    if (otf.isCollection() || otf.fonts.empty())
        return std::nullopt;
    return adjustedHeadRecordOf(otf.fonts[0], imageSize);
}
