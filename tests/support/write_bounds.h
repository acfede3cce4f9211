// Which bytes of an image a write-out may change: the bytes each table
// object read (at every record carrying its tag), the checkSum field of every
// directory record and head's checkSumAdjustment. Everything else must leave
// as it came in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

class OTF;

// One flag per image byte: true where a write-out may write.
std::vector<bool> writableBytes(const OTF& otf, size_t imageSize);

// The first byte that differs between before and after where writable says
// no; nothing when every change is allowed.
std::optional<size_t> strayChange(const uint8_t* before, const uint8_t* after, size_t size,
                                  const std::vector<bool>& writable);

// Bytes a table object writes from its table's start: 0 when it writes none.
size_t objectWriteExtent(const OTF& otf, const char* tag);
