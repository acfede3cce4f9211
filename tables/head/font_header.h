// The head table (font header), read for reference: the em size and the
// font's bounding box that the line-spacing pane shows. It edits nothing and
// writes nothing, so head keeps the write rule of a table without a model:
// its checkSumAdjustment is brought up to date in a single font, and left
// as read in a collection.
#pragma once

#include "font/font_object.h"

constexpr size_t kHeadSize = 54;
constexpr uint16_t kHeadMajorVersion = 1;

class fontHeader : public fontObject {
  public:
    // Reads the fields below when the span holds the whole table of major
    // version 1; otherwise the object stays not valid.
    fontHeader(const uint8_t* tableStart, size_t spanLength);

    bool writeTable(uint8_t*, size_t) override { return false; }
    size_t writeExtent() const override { return 0; }

    uint16_t majorVersion = 0;
    uint16_t unitsPerEm = 0;
    int16_t yMin = 0; // the bounding box of every glyph
    int16_t yMax = 0;
};
