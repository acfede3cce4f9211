// The name table (naming table), formats 0 and 1: each record's identity and
// its string as bytes, and format 1's language tags. Read whole or not at
// all; an edited table is compiled anew.
#pragma once

#include "font/font_object.h"

#include <string>
#include <vector>

using NameBytes = std::vector<uint8_t>;

constexpr uint16_t kWindowsPlatform = 3;

struct NamingRecord {
    uint16_t platformID = 0;
    uint16_t encodingID = 0;
    uint16_t languageID = 0;
    uint16_t nameID = 0;
    NameBytes string; // as stored: UTF-16BE on platforms 0 and 3
};

// String offsets are 16 bits: the storage, each distinct string once, holds
// at most this many bytes.
constexpr size_t kNameStorageLimit = 0xFFFF;

// Records may share a string, and each keeps its own copy: a table whose
// strings add up to more than this is refused before anything is copied
// (65,535 records of one 64 KiB string would take 4 GiB).
constexpr size_t kNameCopyLimit = size_t{16} << 20;

class NamingTable : public fontObject {
  public:
    // Reads the header, the records, format 1's language tags and every
    // string. A table of another format, or one whose header, records, tags
    // or any string lie past the span, is refused as a whole: valid stays 0
    // and nothing is kept. So is one that its compiled form could not hold,
    // and one whose strings add up to more than kNameCopyLimit.
    NamingTable(const uint8_t* tableStart, size_t spanLength);

    // Writes the whole table compiled anew: the records in their order, the
    // language tags, then the storage with each distinct string once. Nothing
    // into a span shorter than writeExtent.
    bool writeTable(uint8_t* tableStart, size_t spanLength) override;
    size_t writeExtent() const override;
    bool writesWholeTable() const override { return true; }

    // The bytes the compiled storage takes.
    size_t storageSize() const;

    uint16_t format = 0;
    std::vector<NamingRecord> records;   // in file order
    std::vector<NameBytes> languageTags; // format 1, UTF-16BE, kept as read

  private:
    size_t headerSize() const;
    bool read(const uint8_t* tableStart, size_t spanLength);
};

// A UTF-16BE string's units; an odd last byte is no unit and is left out.
std::u16string nameText(const NameBytes& bytes);

// The full font name (name ID 4): the Windows Unicode record in Japanese,
// else in English, else in any language. Empty when there is none.
std::u16string fullFontName(const NamingTable& table);
// The same read from a table of spanLength bytes that has no object: every
// record whose entry and string lie in the span counts, the rest is skipped.
std::u16string fullFontName(const uint8_t* tableStart, size_t spanLength);
