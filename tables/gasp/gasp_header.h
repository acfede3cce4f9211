// The gasp table: grid-fitting and smoothing behaviour per range of sizes.
#pragma once

#include "font/font_object.h"

#include <map>

constexpr uint16_t GASP_GRIDFIT = 0x0001;
constexpr uint16_t GASP_DOGRAY = 0x0002;
constexpr uint16_t kGaspLastRange = 0xFFFF; // "every larger size"

class gaspHeader : public fontObject {
  public:
    // Reads the header and as many whole range records as the span holds,
    // up to numRanges.
    gaspHeader(const uint8_t* tableStart, size_t spanLength);

    // Writes the header and the ranges in ascending order over the bytes the
    // parse read; writes nothing into a span shorter than those. Whether an
    // unedited table is written at all is the container's decision.
    bool writeTable(uint8_t* tableStart, size_t spanLength) override;
    size_t writeExtent() const override { return valid ? bytesRead_ : 0; }

    uint16_t version = 0;
    uint16_t numRanges = 0;              // as read, never recomputed
    std::map<uint16_t, uint16_t> ranges; // rangeMaxPPEM -> behaviour word

    // Header plus the range records the parse read.
    size_t bytesRead() const { return bytesRead_; }

  private:
    size_t bytesRead_ = 0;
};
