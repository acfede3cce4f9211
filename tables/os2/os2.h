// The OS/2 table (OS/2 and Windows metrics), versions 0 to 5.
#pragma once

#include "font/font_object.h"

// Bytes read and written for each version; bytes past these are never touched.
constexpr size_t kOS2Version0Size = 78;
constexpr size_t kOS2Version1Size = 86;
constexpr size_t kOS2Version2Size = 96; // versions 3 and 4 share this layout
constexpr size_t kOS2Version5Size = 100;
constexpr uint16_t kOS2HighestVersion = 5;
constexpr size_t kPanoseWeightIndex = 2; // bWeight within panose

class OS2 : public fontObject {
  public:
    // Reads the table when its version is known and the span holds the whole
    // of that version's fields; otherwise only version is read and the object
    // stays not valid.
    OS2(const uint8_t* tableStart, size_t spanLength);

    // Writes the fields back where they were read; nothing when not valid.
    bool writeTable(uint8_t* tableStart, size_t spanLength) override;
    size_t writeExtent() const override { return valid ? bytesRead_ : 0; }

    // The size of a version's fields, 0 for a version the model refuses.
    static size_t sizeForVersion(uint16_t version);

    uint16_t version = 0;
    int16_t xAvgCharWidth = 0;
    uint16_t usWeightClass = 0;
    uint16_t usWidthClass = 0;
    int16_t fsType = 0;
    int16_t ySubscriptXSize = 0;
    int16_t ySubscriptYSize = 0;
    int16_t ySubscriptXOffset = 0;
    int16_t ySubscriptYOffset = 0;
    int16_t ySuperscriptXSize = 0;
    int16_t ySuperscriptYSize = 0;
    int16_t ySuperscriptXOffset = 0;
    int16_t ySuperscriptYOffset = 0;
    int16_t yStrikeoutSize = 0;
    int16_t yStrikeoutPosition = 0;
    int16_t sFamilyClass = 0;
    uint8_t panose[10] = {};
    uint32_t ulUnicodeRange1 = 0;
    uint32_t ulUnicodeRange2 = 0;
    uint32_t ulUnicodeRange3 = 0;
    uint32_t ulUnicodeRange4 = 0;
    uint8_t achVendID[4] = {};
    uint16_t fsSelection = 0;
    uint16_t usFirstCharIndex = 0;
    uint16_t usLastCharIndex = 0;
    int16_t sTypoAscender = 0;
    int16_t sTypoDescender = 0;
    int16_t sTypoLineGap = 0;
    uint16_t usWinAscent = 0;
    uint16_t usWinDescent = 0;
    uint32_t ulCodePageRange1 = 0; // version 1 and later
    uint32_t ulCodePageRange2 = 0;
    int16_t sxHeight = 0; // version 2 and later
    int16_t sCapHeight = 0;
    uint16_t usDefaultChar = 0;
    uint16_t usBreakChar = 0;
    uint16_t usMaxContext = 0;
    uint16_t usLowerOpticalPointSize = 0; // version 5
    uint16_t usUpperOpticalPointSize = 0;

  private:
    size_t bytesRead_ = 0;
    template <class Stream, class Table> static bool transferFields(Stream& stream, Table& table);
};
