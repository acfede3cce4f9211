// Builds sfnt images for tests: tables given as (tag, bytes), laid out after
// the directory in the order given, with correct checksums. Tests then patch
// bytes to make the malformed cases.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using Bytes = std::vector<uint8_t>;

class SfntBuilder {
  public:
    SfntBuilder& table(const std::string& tag, Bytes bytes); // a record and its table

    Bytes build() const;

  private:
    std::vector<std::pair<std::string, Bytes>> entries_;
};

// A font collection (version 1.0): tables stored once each under a name of
// the test's, and fonts whose directories list them by that name, in order.
class CollectionBuilder {
  public:
    CollectionBuilder& table(const std::string& name, const std::string& tag, Bytes bytes);
    CollectionBuilder& font(const std::vector<std::string>& tableNames);
    // A version 2 header whose signature block holds block, after the tables.
    CollectionBuilder& signature(Bytes block);
    Bytes build() const { return layOut(true); }
    Bytes layOut(bool collectionHeader) const; // without the header: one font's directory at 0

  private:
    std::vector<std::pair<std::string, std::pair<std::string, Bytes>>> tables_;
    std::vector<std::vector<std::string>> fonts_;
    std::optional<Bytes> signature_;
};

// Field access for patching and checking images.
// The sum of length bytes from at as big-endian 32-bit words, the last one
// padded with zeros: how the sfnt format takes a table's checksum.
uint32_t wordSum(const Bytes& bytes, size_t at, size_t length);
uint16_t getU16(const Bytes& bytes, size_t at);
uint32_t getU32(const Bytes& bytes, size_t at);
void putU16(Bytes& bytes, size_t at, uint16_t value);
void putU32(Bytes& bytes, size_t at, uint32_t value);

size_t recordAt(size_t index); // file offset of directory record index
uint32_t recordOffset(const Bytes& image, size_t index);

// Table contents.
Bytes gaspTable(uint16_t version, const std::vector<std::pair<uint16_t, uint16_t>>& ranges);
// An OS/2 table of the given version whose size is the version's size (or
// size when given), every byte distinct enough that a misplaced write shows.
Bytes os2Table(uint16_t version, std::optional<size_t> size = std::nullopt);
Bytes headTable(); // 54 bytes
// An hhea table of version 1.0 with these metrics, every other byte distinct.
Bytes hheaTable(int16_t ascender, int16_t descender, int16_t lineGap);
Bytes utf16be(const std::u16string& text); // as the name table stores text
// A name table of (platformID, encodingID, languageID, nameID, text) records,
// the text in UTF-16BE.
using NameRecord = std::tuple<uint16_t, uint16_t, uint16_t, uint16_t, std::u16string>;
Bytes nameTable(const std::vector<NameRecord>& records);
// The same with each string's bytes given, in format 0 or 1 (with its
// language tags); the strings stored one after another, in record order.
using RawNameRecord = std::tuple<uint16_t, uint16_t, uint16_t, uint16_t, Bytes>;
Bytes rawNameTable(const std::vector<RawNameRecord>& records, uint16_t format = 0,
                   const std::vector<Bytes>& languageTags = {});
Bytes filler(size_t size, uint8_t seed = 0x11);

// Offsets within an OS/2 table.
constexpr size_t kOS2WeightAt = 4;
constexpr size_t kOS2WidthAt = 6;
constexpr size_t kOS2FsTypeAt = 8;
constexpr size_t kOS2PanoseWeightAt = 34; // bWeight, the third PANOSE byte
constexpr size_t kOS2VendorAt = 58;
constexpr size_t kOS2FsSelectionAt = 62;
constexpr size_t kHeadYMinAt = 38, kHeadYMaxAt = 42;

// A small well-formed font holding, in this order: gasp, VORG, cmap, GASP,
// os/2, OS/2 (version 2), head, "cvt ".
Bytes sampleFont();
// Three fonts, each listing OS/2, gasp, head, name in this order; the
// header ends at 24 and each directory takes 76 bytes. gasp is shared by all
// three, one OS/2 (weight 400) by fonts 0 and 2, another (weight 500) is
// font 1's; each font has its own head and name. Full names: font 0 in
// Japanese "ゴシック" (after an English record), font 1 in English
// "Sample Mincho", font 2 none (a Macintosh record only).
Bytes sampleCollection(std::optional<Bytes> signature = std::nullopt);
