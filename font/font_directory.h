// One font's offset table and table directory: the whole of a single font
// file's header, or one font's of a collection.
#pragma once

#include "font/table_record.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

class FontDirectory {
  public:
    // Reads the offset table at offset and its records; false, with nothing
    // read, when the image does not hold the whole directory.
    bool read(const uint8_t* image, size_t imageSize, uint32_t offset);

    // The record the font's tag stands for: of a tag in two records, the
    // later. Null when the directory does not list the tag, or no longer
    // does since the tag was removed.
    const TableRecord* record(const char* tag) const;

    // Whether record index is still listed: its tag has not been removed.
    bool lists(size_t index) const { return removedTags.count(tableRecords[index].tag) == 0; }

    // Where record index's checkSum field stands in the file.
    size_t checksumFieldAt(size_t index) const;

    uint32_t offset = 0; // of the offset table, from the start of the file
    uint8_t sfntVersion[4] = {};
    uint16_t numTables = 0;
    uint16_t searchRange = 0;
    uint16_t entrySelector = 0;
    uint16_t rangeShift = 0;
    std::vector<TableRecord> tableRecords; // in the order of the file
    std::set<std::string> removedTags;     // every record of these goes at the next write-out

  private:
    std::map<std::string, size_t> recordByTag_;
};

// Size of an offset table and a directory of numTables records.
size_t directorySize(uint16_t numTables);
