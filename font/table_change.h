// What a write-out changed, and the checksums that follow from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class OTF;

struct ByteRange {
    size_t begin = 0; // absolute offsets in the image, end exclusive
    size_t end = 0;
    bool empty() const { return begin == end; }
};

// A copy of a table's bytes taken before its object writes itself.
class TableSnapshot {
  public:
    TableSnapshot(const uint8_t* tableStart, size_t spanLength);
    // The smallest range, relative to the table, holding every changed byte.
    ByteRange changedRange(const uint8_t* tableStart) const;

  private:
    std::vector<uint8_t> bytes_;
};

class TableChanges {
  public:
    void add(size_t tableOffset, ByteRange relative);
    bool empty() const { return ranges_.empty(); }
    bool touches(size_t begin, size_t end) const;

  private:
    std::vector<ByteRange> ranges_;
};

// Gives every record whose table bytes changed its new checkSum, in the record
// array and in the image's directory, and recomputes head.checkSumAdjustment.
void refreshChecksums(OTF& font, uint8_t* image, size_t imageSize, const TableChanges& changes);
