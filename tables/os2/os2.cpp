#include "tables/os2/os2.h"

#include "font/field_stream.h"

#include <vector>

size_t OS2::sizeForVersion(uint16_t version) {
    switch (version) {
    case 0:
        return kOS2Version0Size;
    case 1:
        return kOS2Version1Size;
    case 2:
    case 3:
    case 4:
        return kOS2Version2Size;
    case 5:
        return kOS2Version5Size;
    default:
        return 0;
    }
}

template <class Stream, class Table> bool OS2::transferFields(Stream& s, Table& t) {
    bool ok =
        s.u16(t.version) && s.s16(t.xAvgCharWidth) && s.u16(t.usWeightClass) &&
        s.u16(t.usWidthClass) && s.s16(t.fsType) && s.s16(t.ySubscriptXSize) &&
        s.s16(t.ySubscriptYSize) && s.s16(t.ySubscriptXOffset) && s.s16(t.ySubscriptYOffset) &&
        s.s16(t.ySuperscriptXSize) && s.s16(t.ySuperscriptYSize) && s.s16(t.ySuperscriptXOffset) &&
        s.s16(t.ySuperscriptYOffset) && s.s16(t.yStrikeoutSize) && s.s16(t.yStrikeoutPosition) &&
        s.s16(t.sFamilyClass) && s.bytes(t.panose) && s.u32(t.ulUnicodeRange1) &&
        s.u32(t.ulUnicodeRange2) && s.u32(t.ulUnicodeRange3) && s.u32(t.ulUnicodeRange4) &&
        s.bytes(t.achVendID) && s.u16(t.fsSelection) && s.u16(t.usFirstCharIndex) &&
        s.u16(t.usLastCharIndex) && s.s16(t.sTypoAscender) && s.s16(t.sTypoDescender) &&
        s.s16(t.sTypoLineGap) && s.u16(t.usWinAscent) && s.u16(t.usWinDescent);
    if (ok && t.version >= 1)
        ok = s.u32(t.ulCodePageRange1) && s.u32(t.ulCodePageRange2);
    if (ok && t.version >= 2)
        ok = s.s16(t.sxHeight) && s.s16(t.sCapHeight) && s.u16(t.usDefaultChar) &&
             s.u16(t.usBreakChar) && s.u16(t.usMaxContext);
    if (ok && t.version >= 5)
        ok = s.u16(t.usLowerOpticalPointSize) && s.u16(t.usUpperOpticalPointSize);
    return ok;
}

OS2::OS2(const uint8_t* tableStart, size_t spanLength) {
    ByteReader versionReader(tableStart, spanLength);
    if (!versionReader.readU16(version))
        return;
    size_t size = sizeForVersion(version);
    if (size == 0 || spanLength < size)
        return;
    ByteReader reader(tableStart, size);
    FieldReader fields{reader};
    valid = transferFields(fields, *this) ? 1 : 0;
    bytesRead_ = valid ? size : 0;
}

bool OS2::writeTable(uint8_t* tableStart, size_t spanLength) {
    // Never more than the parse read, even if version were changed since.
    size_t size = sizeForVersion(version);
    if (!valid || size != bytesRead_ || spanLength < size)
        return false;
    std::vector<uint8_t> bytes(size);
    ByteWriter serializer(bytes.data(), bytes.size());
    FieldWriter fields{serializer};
    if (!transferFields(fields, static_cast<const OS2&>(*this)))
        return false;
    ByteWriter writer(tableStart, size);
    return writer.writeBytes(bytes.data(), bytes.size());
}
