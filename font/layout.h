// The re-laid write-out: the file laid out anew when its tables no longer
// fit where they were (a table removed, a table of a new length).
//
// The tables some font still lists follow the header and the directories,
// in their order in the file as read, each once however many directories
// list it, each on a 4-byte boundary and followed by zeros up to the next.
// Nothing else of the file as read is kept: no gap, no slack, no table that
// no font lists any more. Each directory keeps its records, less the removed
// ones, in their order, with new search fields, offsets, true lengths and
// true checksums. A collection keeps its version and font count; a version 2
// header's signature block follows the tables. In a single font head's
// adjustment is computed; a collection's fonts keep theirs as read.
#pragma once

#include "font/byte_sink.h"
#include "font/otf.h"
#include "font/write_site.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct SearchFields {
    uint16_t searchRange = 0;
    uint16_t entrySelector = 0;
    uint16_t rangeShift = 0;
};

// The binary-search fields of a directory of numTables records.
SearchFields searchFields(uint16_t numTables);

// Streams the re-laid file to sink; sites are the changed objects' tables.
// False when the sink failed or the file would not fit in 32-bit offsets.
bool writeRelaid(const OTF& otf, const uint8_t* image, size_t imageSize,
                 const std::vector<WriteSite>& sites, ByteSink& sink);

// The same for font alone, as a single-font file of its own tables, head's
// adjustment computed; sites are that font's changed tables.
bool writeFontRelaid(const OTF& otf, const uint8_t* image, size_t imageSize, size_t font,
                     const std::vector<WriteSite>& sites, ByteSink& sink);
