#include "font/otf.h"

#include "font/byte_order.h"
#include "font/byte_reader.h"
#include "font/checksum.h"
#include "font/table_change.h"
#include "font/table_tags.h"
#include "tables/gasp/gasp_header.h"
#include "tables/os2/os2.h"

size_t directorySize(uint16_t numTables) {
    return kOffsetTableSize + kTableRecordSize * size_t{numTables};
}

namespace {

std::unique_ptr<fontObject> makeTableObject(const char* tag, const uint8_t* image, size_t imageSize,
                                            const TableRecord& record) {
    size_t spanLength;
    if (!tableSpan(record, imageSize, spanLength))
        return nullptr;
    const uint8_t* tableStart = image + record.offset;
    switch (tagIndex(tag)) {
    case kOS2TagIndex:
        return std::make_unique<OS2>(tableStart, spanLength);
    case kGaspTagIndex:
        return std::make_unique<gaspHeader>(tableStart, spanLength);
    default:
        return nullptr;
    }
}

} // namespace

OTF::OTF(const uint8_t* image, size_t imageSize) {
    ByteReader reader(image, imageSize);
    if (!reader.readBytes(sfntVersion, sizeof sfntVersion) || !reader.readU16(numTables) ||
        !reader.readU16(searchRange) || !reader.readU16(entrySelector) ||
        !reader.readU16(rangeShift))
        return;
    if (imageSize < directorySize(numTables))
        return;

    tableRecords.resize(numTables);
    valid = 1;
    for (TableRecord& record : tableRecords) {
        uint8_t tagBytes[4];
        reader.readBytes(tagBytes, sizeof tagBytes);
        for (size_t i = 0; i < sizeof tagBytes; ++i)
            record.tag[i] = static_cast<char>(tagBytes[i]);
        record.tag[4] = '\0';
        reader.readU32(record.checkSum);
        reader.readU32(record.offset);
        reader.readU32(record.length);
        // Tags are compared up to the first NUL, like the C strings they are.
        // A later record with the same tag replaces (and deletes) the object
        // built for the earlier one.
        tableObjects[std::string(record.tag)] =
            makeTableObject(record.tag, image, imageSize, record);
    }
}

bool OTF::findTable(const char* tag, fontObject*& table) const {
    auto entry = tableObjects.find(tag);
    if (entry == tableObjects.end())
        return false;
    table = entry->second.get();
    return true;
}

bool OTF::writeTable(uint8_t* image, size_t imageSize) {
    TableChanges changes;
    for (const TableRecord& record : tableRecords) {
        fontObject* object = nullptr;
        size_t spanLength;
        if (!findTable(record.tag, object) || object == nullptr ||
            !tableSpan(record, imageSize, spanLength))
            continue;
        uint8_t* tableStart = image + record.offset;
        TableSnapshot snapshot(tableStart, spanLength);
        object->writeTable(tableStart, spanLength);
        changes.add(record.offset, snapshot.changedRange(tableStart));
    }
    if (!changes.empty())
        refreshChecksums(*this, image, imageSize, changes);
    return true;
}
