// What the two kinds of write-out share: where the changed objects write,
// and how a table's record checksum is taken.
#pragma once

#include "font/checksum.h"
#include "font/font_object.h"
#include "font/overlay.h"
#include "font/table_tags.h"

#include <cstddef>
#include <cstring>

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
