#include "font/font_directory.h"

#include "font/byte_reader.h"

size_t directorySize(uint16_t numTables) {
    return kOffsetTableSize + kTableRecordSize * size_t{numTables};
}

bool FontDirectory::read(const uint8_t* image, size_t imageSize, uint32_t at) {
    ByteReader reader(image, imageSize);
    uint16_t count = 0;
    // The count sits 4 bytes in; the whole directory must fit from at.
    if (!reader.seek(at) || !reader.skip(4) || !reader.readU16(count) ||
        imageSize - at < directorySize(count))
        return false;
    reader.seek(at);
    offset = at;
    reader.readBytes(sfntVersion, sizeof sfntVersion);
    reader.readU16(numTables);
    reader.readU16(searchRange);
    reader.readU16(entrySelector);
    reader.readU16(rangeShift);
    tableRecords.resize(numTables);
    for (size_t i = 0; i < tableRecords.size(); ++i) {
        TableRecord& record = tableRecords[i];
        uint8_t tag[4];
        reader.readBytes(tag, sizeof tag);
        for (size_t k = 0; k < sizeof tag; ++k)
            record.tag[k] = static_cast<char>(tag[k]);
        record.tag[4] = '\0';
        reader.readU32(record.checkSum);
        reader.readU32(record.offset);
        reader.readU32(record.length);
        // Tags are compared up to the first NUL, like the C strings they are.
        recordByTag_[std::string(record.tag)] = i;
    }
    return true;
}

const TableRecord* FontDirectory::record(const char* tag) const {
    auto found = recordByTag_.find(tag);
    return found == recordByTag_.end() || removedTags.count(found->first) != 0
               ? nullptr
               : &tableRecords[found->second];
}

size_t FontDirectory::checksumFieldAt(size_t index) const {
    return size_t{offset} + kOffsetTableSize + kTableRecordSize * index + kRecordChecksumOffset;
}
