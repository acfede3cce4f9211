#include "tests/support/sfnt_builder.h"

#include <algorithm>
#include <map>

SfntBuilder& SfntBuilder::table(const std::string& tag, Bytes bytes) {
    entries_.emplace_back(tag, std::move(bytes));
    return *this;
}

// One font: its directory at 0, the tables in the order given, head's
// adjustment balancing the file.
Bytes SfntBuilder::build() const {
    CollectionBuilder font;
    std::vector<std::string> names;
    for (const auto& [tag, bytes] : entries_)
        font.table(names.emplace_back(std::to_string(names.size())), tag, bytes);
    Bytes image = font.font(names).layOut(false);
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].first == "head" && entries_[i].second.size() >= 12) {
            putU32(image, recordOffset(image, i) + 8, 0xB1B0AFBA - wordSum(image, 0, image.size()));
            break;
        }
    return image;
}

CollectionBuilder& CollectionBuilder::table(const std::string& name, const std::string& tag,
                                            Bytes bytes) {
    tables_.push_back({name, {tag, std::move(bytes)}});
    return *this;
}

CollectionBuilder& CollectionBuilder::font(const std::vector<std::string>& tableNames) {
    fonts_.push_back(tableNames);
    return *this;
}

CollectionBuilder& CollectionBuilder::signature(Bytes block) {
    signature_ = std::move(block);
    return *this;
}

Bytes CollectionBuilder::layOut(bool collectionHeader) const {
    const size_t offsetsEnd = 12 + 4 * fonts_.size();
    size_t next = collectionHeader ? offsetsEnd + (signature_ ? 12 : 0) : 0;
    Bytes image(next, 0);
    if (collectionHeader) {
        putU32(image, 0, 0x74746366); // "ttcf", version 1.0 or 2.0
        putU16(image, 4, signature_ ? 2 : 1);
        putU32(image, 8, static_cast<uint32_t>(fonts_.size()));
    }
    std::vector<size_t> directories;
    for (size_t i = 0; i < fonts_.size(); ++i) {
        directories.push_back(next);
        if (collectionHeader)
            putU32(image, 12 + 4 * i, static_cast<uint32_t>(next));
        next += 12 + 16 * fonts_[i].size();
    }
    image.resize(next, 0);
    std::map<std::string, std::pair<size_t, const std::pair<std::string, Bytes>*>> placed;
    for (const auto& [name, table] : tables_) {
        placed[name] = {image.size(), &table};
        image.insert(image.end(), table.second.begin(), table.second.end());
        image.resize((image.size() + 3) & ~size_t{3}, 0);
    }
    if (collectionHeader && signature_) {
        putU32(image, offsetsEnd, 0x44534947); // "DSIG"
        putU32(image, offsetsEnd + 4, static_cast<uint32_t>(signature_->size()));
        putU32(image, offsetsEnd + 8, static_cast<uint32_t>(image.size()));
        image.insert(image.end(), signature_->begin(), signature_->end());
    }
    for (size_t i = 0; i < fonts_.size(); ++i) {
        putU32(image, directories[i], 0x00010000);
        putU16(image, directories[i] + 4, static_cast<uint16_t>(fonts_[i].size()));
        for (size_t k = 0; k < fonts_[i].size(); ++k) {
            const auto& [at, table] = placed.at(fonts_[i][k]);
            const auto& [tag, bytes] = *table;
            const size_t record = directories[i] + 12 + 16 * k;
            for (size_t c = 0; c < 4; ++c) // a short tag padded with blanks
                image[record + c] = c < tag.size() ? static_cast<uint8_t>(tag[c]) : ' ';
            putU32(image, record + 4, wordSum(bytes, 0, bytes.size()));
            putU32(image, record + 8, static_cast<uint32_t>(at));
            putU32(image, record + 12, static_cast<uint32_t>(bytes.size()));
        }
    }
    return image;
}

uint32_t wordSum(const Bytes& bytes, size_t at, size_t length) {
    uint32_t sum = 0;
    for (size_t i = 0; i < length; ++i)
        sum += uint32_t{bytes.at(at + i)} << (24 - 8 * (i % 4));
    return sum;
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

Bytes hheaTable(int16_t ascender, int16_t descender, int16_t lineGap) {
    Bytes bytes = filler(36, 0x61);
    putU32(bytes, 0, 0x00010000);
    for (auto [at, value] : {std::pair{4, ascender}, {6, descender}, {8, lineGap}})
        putU16(bytes, at, static_cast<uint16_t>(value));
    return bytes;
}

Bytes utf16be(const std::u16string& text) {
    Bytes bytes;
    for (char16_t unit : text)
        bytes.insert(bytes.end(), {static_cast<uint8_t>(unit >> 8), static_cast<uint8_t>(unit)});
    return bytes;
}

Bytes nameTable(const std::vector<NameRecord>& records) {
    std::vector<RawNameRecord> raw;
    for (const auto& [platform, encoding, language, nameId, text] : records)
        raw.emplace_back(platform, encoding, language, nameId, utf16be(text));
    return rawNameTable(raw);
}

Bytes rawNameTable(const std::vector<RawNameRecord>& records, uint16_t format,
                   const std::vector<Bytes>& languageTags) {
    const size_t tagsAt = 6 + 12 * records.size();
    const size_t storage = tagsAt + (format == 1 ? 2 + 4 * languageTags.size() : 0);
    Bytes bytes(storage, 0);
    putU16(bytes, 0, format);
    putU16(bytes, 2, static_cast<uint16_t>(records.size()));
    putU16(bytes, 4, static_cast<uint16_t>(storage));
    auto store = [&](size_t at, const Bytes& string) { // length and offset at at
        putU16(bytes, at, static_cast<uint16_t>(string.size()));
        putU16(bytes, at + 2, static_cast<uint16_t>(bytes.size() - storage));
        bytes.insert(bytes.end(), string.begin(), string.end());
    };
    for (size_t i = 0; i < records.size(); ++i) {
        const auto& [platform, encoding, language, nameId, string] = records[i];
        const size_t at = 6 + 12 * i;
        for (auto [offset, value] :
             {std::pair{0, platform}, {2, encoding}, {4, language}, {6, nameId}})
            putU16(bytes, at + offset, value);
        store(at + 8, string);
    }
    if (format == 1) {
        putU16(bytes, tagsAt, static_cast<uint16_t>(languageTags.size()));
        for (size_t i = 0; i < languageTags.size(); ++i)
            store(tagsAt + 2 + 4 * i, languageTags[i]);
    }
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

Bytes sampleCollection(std::optional<Bytes> signature) {
    Bytes os2b = os2Table(4);
    putU16(os2b, kOS2WeightAt, 500);
    CollectionBuilder builder;
    if (signature)
        builder.signature(*signature);
    return builder.table("gasp", "gasp", gaspTable(1, {{8, 0x2}, {0xFFFF, 0x3}}))
        .table("os2a", "OS/2", os2Table(4))
        .table("os2b", "OS/2", os2b)
        .table("head0", "head", headTable())
        .table("head1", "head", headTable())
        .table("head2", "head", headTable())
        .table("name0", "name",
               nameTable({{3, 1, 0x0409, 4, u"Sample Gothic"}, {3, 1, 0x0411, 4, u"ゴシック"}}))
        .table("name1", "name",
               nameTable({{1, 0, 0, 4, u"Mac"},
                          {3, 1, 0x0409, 1, u"Family"},
                          {3, 1, 0x0409, 4, u"Sample Mincho"}}))
        .table("name2", "name", nameTable({{1, 0, 0, 4, u"Mac only"}}))
        .font({"os2a", "gasp", "head0", "name0"})
        .font({"os2b", "gasp", "head1", "name1"})
        .font({"os2a", "gasp", "head2", "name2"})
        .build();
}
