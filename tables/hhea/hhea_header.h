// The hhea table (horizontal header), version 1.x: 36 bytes. Its ascender,
// descender and lineGap are the line spacing most platforms other than
// Windows' GDI use.
#pragma once

#include "font/font_object.h"

constexpr size_t kHheaSize = 36;
constexpr uint16_t kHheaMajorVersion = 1;

class hheaHeader : public fontObject {
  public:
    // Reads every field, all or nothing: a span shorter than the table or a
    // major version other than 1 leaves the object not valid.
    hheaHeader(const uint8_t* tableStart, size_t spanLength);

    // Writes every field back where it was read; nothing when not valid.
    bool writeTable(uint8_t* tableStart, size_t spanLength) override;
    size_t writeExtent() const override { return valid ? kHheaSize : 0; }

    uint16_t majorVersion = 0;
    uint16_t minorVersion = 0;
    int16_t ascender = 0;
    int16_t descender = 0;
    int16_t lineGap = 0;
    uint16_t advanceWidthMax = 0;
    int16_t minLeftSideBearing = 0;
    int16_t minRightSideBearing = 0;
    int16_t xMaxExtent = 0;
    int16_t caretSlopeRise = 0;
    int16_t caretSlopeRun = 0;
    int16_t caretOffset = 0;
    int16_t reserved[4] = {};
    int16_t metricDataFormat = 0;
    uint16_t numberOfHMetrics = 0;

  private:
    template <class Stream, class Table> static bool transferFields(Stream& stream, Table& table);
};
