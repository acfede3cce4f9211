#include "tables/name/naming_table.h"

#include "font/byte_reader.h"
#include "font/byte_writer.h"

#include <map>

namespace {

constexpr size_t kNameHeaderSize = 6;     // format, count, storageOffset
constexpr size_t kNameRecordSize = 12;    // four IDs, length, offset
constexpr size_t kLangTagCountSize = 2;   // format 1: langTagCount
constexpr size_t kLangTagRecordSize = 4;  // length, offset
constexpr size_t kLargestHeader = 0xFFFF; // storageOffset is 16 bits
constexpr uint16_t kHighestFormat = 1;
constexpr uint16_t kUnicodeBmp = 1;
constexpr uint16_t kUnicodeFull = 10;
constexpr uint16_t kFullNameId = 4;
constexpr uint16_t kJapanese = 0x0411;
constexpr uint16_t kEnglish = 0x0409;
constexpr int kNoFullName = 3;

// A record's entry: its IDs, and its string's length and offset from the
// storage.
bool readEntry(ByteReader& reader, NamingRecord& record, uint16_t& length, uint16_t& offset) {
    return reader.readU16(record.platformID) && reader.readU16(record.encodingID) &&
           reader.readU16(record.languageID) && reader.readU16(record.nameID) &&
           reader.readU16(length) && reader.readU16(offset);
}

bool readString(const uint8_t* table, size_t spanLength, size_t at, uint16_t length,
                NameBytes& string) {
    ByteReader reader(table, spanLength);
    if (!reader.seek(at) || reader.remaining() < length)
        return false;
    string.resize(length);
    return reader.readBytes(string.data(), length);
}

// Where each distinct string stands in the compiled storage, in the order
// the records and then the tags first name it.
class StorageLayout {
  public:
    explicit StorageLayout(const NamingTable& table) {
        for (const NamingRecord& record : table.records)
            place(record.string);
        for (const NameBytes& tag : table.languageTags)
            place(tag);
    }
    size_t size() const { return size_; }
    uint16_t offsetOf(const NameBytes& string) const {
        return static_cast<uint16_t>(offsets_.at(string));
    }
    const std::vector<const NameBytes*>& order() const { return order_; }

  private:
    void place(const NameBytes& string) {
        if (offsets_.emplace(string, size_).second) {
            order_.push_back(&string);
            size_ += string.size();
        }
    }
    std::map<NameBytes, size_t> offsets_;
    std::vector<const NameBytes*> order_;
    size_t size_ = 0;
};

// Lower is preferred; kNoFullName for a record that is not a Windows Unicode
// full name.
int fullNameRank(const NamingRecord& record) {
    if (record.platformID != kWindowsPlatform ||
        (record.encodingID != kUnicodeBmp && record.encodingID != kUnicodeFull) ||
        record.nameID != kFullNameId)
        return kNoFullName;
    return record.languageID == kJapanese ? 0 : record.languageID == kEnglish ? 1 : 2;
}

} // namespace

NamingTable::NamingTable(const uint8_t* tableStart, size_t spanLength) {
    if (read(tableStart, spanLength) && headerSize() <= kLargestHeader &&
        storageSize() <= kNameStorageLimit) {
        valid = 1;
        return;
    }
    records.clear();
    languageTags.clear();
}

bool NamingTable::read(const uint8_t* tableStart, size_t spanLength) {
    ByteReader reader(tableStart, spanLength);
    uint16_t count = 0, storageOffset = 0;
    if (!reader.readU16(format) || format > kHighestFormat || !reader.readU16(count) ||
        !reader.readU16(storageOffset) || storageOffset > spanLength ||
        reader.remaining() < size_t{count} * kNameRecordSize)
        return false;
    std::vector<NamingRecord> entries(count);
    std::vector<std::pair<uint16_t, uint16_t>> places(count); // length, offset
    for (size_t i = 0; i < count; ++i)
        readEntry(reader, entries[i], places[i].first, places[i].second);
    uint16_t tagCount = 0;
    if (format == 1 &&
        (!reader.readU16(tagCount) || reader.remaining() < size_t{tagCount} * kLangTagRecordSize))
        return false;
    std::vector<std::pair<uint16_t, uint16_t>> tagPlaces(tagCount);
    size_t copied = 0;
    for (auto& [length, offset] : tagPlaces) {
        reader.readU16(length);
        reader.readU16(offset);
        copied += length;
    }
    for (const auto& place : places)
        copied += place.first;
    if (copied > kNameCopyLimit)
        return false;
    languageTags.resize(tagCount);
    for (size_t i = 0; i < tagCount; ++i)
        if (!readString(tableStart, spanLength, size_t{storageOffset} + tagPlaces[i].second,
                        tagPlaces[i].first, languageTags[i]))
            return false;
    records = std::move(entries);
    for (size_t i = 0; i < count; ++i)
        if (!readString(tableStart, spanLength, size_t{storageOffset} + places[i].second,
                        places[i].first, records[i].string))
            return false;
    return true;
}

size_t NamingTable::headerSize() const {
    size_t size = kNameHeaderSize + records.size() * kNameRecordSize;
    if (format == 1)
        size += kLangTagCountSize + languageTags.size() * kLangTagRecordSize;
    return size;
}

size_t NamingTable::storageSize() const {
    return StorageLayout(*this).size();
}

size_t NamingTable::writeExtent() const {
    return valid ? headerSize() + storageSize() : 0;
}

bool NamingTable::writeTable(uint8_t* tableStart, size_t spanLength) {
    if (!valid)
        return false;
    const StorageLayout storage(*this);
    const size_t header = headerSize();
    if (header > kLargestHeader || storage.size() > kNameStorageLimit ||
        spanLength < header + storage.size())
        return false;
    ByteWriter writer(tableStart, header + storage.size());
    writer.writeU16(format);
    writer.writeU16(static_cast<uint16_t>(records.size()));
    writer.writeU16(static_cast<uint16_t>(header));
    for (const NamingRecord& record : records) {
        for (uint16_t field :
             {record.platformID, record.encodingID, record.languageID, record.nameID,
              static_cast<uint16_t>(record.string.size()), storage.offsetOf(record.string)})
            writer.writeU16(field);
    }
    if (format == 1) {
        writer.writeU16(static_cast<uint16_t>(languageTags.size()));
        for (const NameBytes& tag : languageTags) {
            writer.writeU16(static_cast<uint16_t>(tag.size()));
            writer.writeU16(storage.offsetOf(tag));
        }
    }
    for (const NameBytes* string : storage.order())
        writer.writeBytes(string->data(), string->size());
    return true;
}

std::u16string nameText(const NameBytes& bytes) {
    std::u16string text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<char16_t>((bytes[i] << 8) | bytes[i + 1]));
    return text;
}

std::u16string fullFontName(const NamingTable& table) {
    const NamingRecord* best = nullptr;
    int bestRank = kNoFullName;
    for (const NamingRecord& record : table.records)
        if (fullNameRank(record) < bestRank) {
            best = &record;
            bestRank = fullNameRank(record);
        }
    return best != nullptr ? nameText(best->string) : std::u16string();
}

std::u16string fullFontName(const uint8_t* tableStart, size_t spanLength) {
    ByteReader reader(tableStart, spanLength);
    uint16_t format = 0, count = 0, storageOffset = 0;
    if (!reader.readU16(format) || !reader.readU16(count) || !reader.readU16(storageOffset))
        return {};
    NameBytes best;
    int bestRank = kNoFullName;
    for (uint16_t i = 0; i < count && bestRank > 0; ++i) {
        NamingRecord record;
        uint16_t length = 0, offset = 0;
        if (!readEntry(reader, record, length, offset))
            break;
        const int rank = fullNameRank(record);
        // Only a better record's string is read: a hostile table's strings
        // are never all copied.
        if (rank < bestRank &&
            readString(tableStart, spanLength, size_t{storageOffset} + offset, length, best))
            bestRank = rank;
    }
    return nameText(best);
}
