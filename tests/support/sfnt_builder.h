// Builds sfnt images for tests: tables given as (tag, bytes), laid out after
// the directory in the order given, with correct checksums. Tests then patch
// bytes to make the malformed cases.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
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

// Field access for patching and checking images.
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
Bytes filler(size_t size, uint8_t seed = 0x11);

// Offsets within an OS/2 table.
constexpr size_t kOS2WeightAt = 4;
constexpr size_t kOS2WidthAt = 6;
constexpr size_t kOS2FsTypeAt = 8;
constexpr size_t kOS2PanoseWeightAt = 34; // bWeight, the third PANOSE byte
constexpr size_t kOS2VendorAt = 58;

// A small well-formed font holding, in this order: gasp, VORG, cmap, GASP,
// os/2, OS/2 (version 2), head, "cvt ".
Bytes sampleFont();
