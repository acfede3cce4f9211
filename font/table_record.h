// One entry of the sfnt table directory, in host byte order.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kOffsetTableSize = 12;
constexpr size_t kTableRecordSize = 16;
constexpr size_t kRecordChecksumOffset = 4; // within a record

struct TableRecord {
    char tag[5] = {};
    uint32_t checkSum = 0;
    uint32_t offset = 0;
    uint32_t length = 0;
};

// The bytes of a table that lie both inside its record and inside an image of
// imageSize bytes: from its offset, its length or what the image holds,
// however far past 32 bits its offset and length reach. False when the
// offset lies past the end of the image; such a table has no span.
bool tableSpan(const TableRecord& record, size_t imageSize, size_t& spanLength);
