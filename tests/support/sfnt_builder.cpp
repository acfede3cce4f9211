#include "tests/support/sfnt_builder.h"

#include "font/checksum.h"

#include <algorithm>

SfntBuilder& SfntBuilder::table(const std::string& tag, Bytes bytes) {
    entries_.emplace_back(tag, std::move(bytes));
    return *this;
}

Bytes SfntBuilder::build() const {
    const size_t count = entries_.size();
    size_t next = recordAt(count), headAt = 0; // the directory ends on a multiple of 4
    Bytes image(next, 0);
    putU32(image, 0, 0x00010000);
    putU16(image, 4, static_cast<uint16_t>(count));
    for (size_t i = 0; i < count; ++i) {
        const auto& [tag, bytes] = entries_[i];
        for (size_t k = 0; k < 4; ++k)
            image[recordAt(i) + k] = k < tag.size() ? static_cast<uint8_t>(tag[k]) : ' ';
        putU32(image, recordAt(i) + 4, sfntChecksum(bytes.data(), bytes.size()));
        putU32(image, recordAt(i) + 8, static_cast<uint32_t>(next));
        putU32(image, recordAt(i) + 12, static_cast<uint32_t>(bytes.size()));
        if (tag == "head" && bytes.size() >= 12)
            headAt = next;
        image.insert(image.end(), bytes.begin(), bytes.end());
        image.resize((image.size() + 3) & ~size_t{3}, 0);
        next = image.size();
    }
    if (headAt != 0) {
        putU32(image, headAt + 8, 0);
        putU32(image, headAt + 8, 0xB1B0AFBA - sfntChecksum(image.data(), image.size()));
    }
    return image;
}

uint16_t getU16(const Bytes& bytes, size_t at) {
    return static_cast<uint16_t>((bytes.at(at) << 8) | bytes.at(at + 1));
}

uint32_t getU32(const Bytes& bytes, size_t at) {
    return (uint32_t{getU16(bytes, at)} << 16) | getU16(bytes, at + 2);
}

void putU16(Bytes& bytes, size_t at, uint16_t value) {
    bytes.at(at) = static_cast<uint8_t>(value >> 8);
    bytes.at(at + 1) = static_cast<uint8_t>(value);
}

void putU32(Bytes& bytes, size_t at, uint32_t value) {
    putU16(bytes, at, static_cast<uint16_t>(value >> 16));
    putU16(bytes, at + 2, static_cast<uint16_t>(value));
}

size_t recordAt(size_t index) {
    return 12 + 16 * index;
}
uint32_t recordOffset(const Bytes& image, size_t index) {
    return getU32(image, recordAt(index) + 8);
}

Bytes gaspTable(uint16_t version, const std::vector<std::pair<uint16_t, uint16_t>>& ranges) {
    Bytes bytes(4 + 4 * ranges.size());
    putU16(bytes, 0, version);
    putU16(bytes, 2, static_cast<uint16_t>(ranges.size()));
    for (size_t i = 0; i < ranges.size(); ++i) {
        putU16(bytes, 4 + 4 * i, ranges[i].first);
        putU16(bytes, 6 + 4 * i, ranges[i].second);
    }
    return bytes;
}

Bytes os2Table(uint16_t version, std::optional<size_t> size) {
    static const size_t sizes[] = {78, 86, 96, 96, 96, 100};
    size_t length = size ? *size : (version < 6 ? sizes[version] : 100);
    Bytes bytes = filler(length, 0x41);
    if (length >= 2)
        putU16(bytes, 0, version);
    if (length >= kOS2VendorAt + 4) {
        putU16(bytes, kOS2WeightAt, 400);
        putU16(bytes, kOS2WidthAt, 5);
        putU16(bytes, kOS2FsTypeAt, 0x0008);
        bytes[kOS2PanoseWeightAt] = 5;
        std::copy_n("TEST", 4, bytes.begin() + kOS2VendorAt);
    }
    return bytes;
}

Bytes headTable() {
    Bytes bytes(54, 0);
    putU32(bytes, 0, 0x00010000);
    putU32(bytes, 12, 0x5F0F3CF5); // magicNumber
    putU16(bytes, 18, 1000);       // unitsPerEm
    return bytes;
}

Bytes filler(size_t size, uint8_t seed) {
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(seed + 7 * i);
    return bytes;
}

Bytes sampleFont() {
    return SfntBuilder()
        .table("gasp", gaspTable(1, {{8, 0x000A}, {0xFFFF, 0x000F}}))
        .table("VORG", filler(8))
        .table("cmap", filler(20))
        .table("GASP", gaspTable(1, {{0xFFFF, 0x0003}}))
        .table("os/2", os2Table(2))
        .table("OS/2", os2Table(2))
        .table("head", headTable())
        .table("cvt ", filler(12))
        .build();
}
