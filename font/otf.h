// The container of one opened font file: its offset table, its directory and
// the table objects registered by tag.
#pragma once

#include "font/font_object.h"
#include "font/table_record.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class OTF : public fontObject {
  public:
    // Parses the offset table and the directory of an image of imageSize
    // bytes. An image too short for its own directory gets no records and
    // stays not valid.
    OTF(const uint8_t* image, size_t imageSize);

    // True when the directory lists a table with this tag; table then receives
    // its object, which is null for a table without an editor.
    bool findTable(const char* tag, fontObject*& table) const;

    // The object of the table with this tag when it is a T; null when the font
    // has no such table or its object is of another class.
    template <class T> T* tableOf(const char* tag) const {
        fontObject* table = nullptr;
        return findTable(tag, table) ? dynamic_cast<T*>(table) : nullptr;
    }

    // Lets every table object write itself at each of its records' offsets,
    // then brings the checksums of the tables that changed, and the head
    // table's checkSumAdjustment, up to date.
    bool writeTable(uint8_t* image, size_t imageSize) override;

    uint8_t sfntVersion[4] = {};
    uint16_t numTables = 0;
    uint16_t searchRange = 0;
    uint16_t entrySelector = 0;
    uint16_t rangeShift = 0;
    std::vector<TableRecord> tableRecords;
    std::map<std::string, std::unique_ptr<fontObject>> tableObjects;
};

// Size of the offset table and directory that an image must hold.
size_t directorySize(uint16_t numTables);
