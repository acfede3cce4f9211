// The one rule of which bytes a write-out may change, and the one replay of a
// font file through the program's own load, edit and write-out that the
// native tests and the fuzz target share.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class OTF;

// One flag per image byte: true where a write-out may write. That is the
// checkSum field of every record of every directory; in a single font, head's
// checkSumAdjustment; and, at every record of a tag whose object exists, the
// fields the OpenType layout of its table gives (a whole name table).
std::vector<bool> writableBytes(const OTF& otf, const uint8_t* image, size_t imageSize);

// The first byte that differs between before and after where writable says
// no; nothing when every change is allowed.
std::optional<size_t> strayChange(const uint8_t* before, const uint8_t* after, size_t size,
                                  const std::vector<bool>& writable);

// What a write-out of the font read from image writes, held in memory.
std::vector<uint8_t> writtenOut(const OTF& otf, const std::vector<uint8_t>& image);

// What is wrong with out as the re-laid write-out of otf, read from data:
// null when nothing is (see write_bounds.cpp).
const char* brokenRelaidRule(const OTF& otf, const uint8_t* data, size_t size,
                             const std::vector<uint8_t>& out);

// What is wrong with out as a write-out of otf, read from data, judged by
// what it is: the same length with only writable bytes changed is judged in
// place (true checksums, a balanced single font), anything else as re-laid.
// Null when nothing is.
const char* brokenWriteOut(const OTF& otf, const uint8_t* data, size_t size,
                           const std::vector<uint8_t>& out);

// What the panes do to one font of a file: the gasp range at row (counted
// from the smallest limit, modulo the count) retyped and given new check
// boxes, the two trackbars moved and a PANOSE item chosen; a value stored
// into each line-spacing field, in their order (one out of its range stores
// nothing), and USE_TYPO_METRICS, into that font or every font.
struct PaneEdits {
    size_t font = 0; // modulo the number of fonts
    size_t gaspRow = 0;
    uint32_t gaspTyped = 12345;
    bool gaspInPoints = false;
    bool hinting = true, smoothing = true;
    int weightPosition = 7;
    int widthPosition = 3;
    uint8_t panoseWeight = 8;
    size_t nameRecord = 0; // the record renamed, modulo the count
    std::u16string newName = u"Renamed";
    std::array<int32_t, 8> lineMetrics = {900, -250, 100, 800, -200, 90, 1100, 300};
    bool useTypoMetrics = true;
    bool allFonts = false;
};
void editLikeThePanes(OTF& otf, const PaneEdits& edits);
// The name dialog's store: one record of the edited font's name table renamed.
void renameLikeThePane(OTF& otf, const PaneEdits& edits);

// Loads a copy of the file in a block of exactly its size (so AddressSanitizer
// stops any access past it), writes it out unedited (byte-identical), edits it
// and writes it out, sets every edited value back and writes it out again
// (byte-identical); renames a record (in place or re-laid) and sets it back;
// removes a table (with the tables that need it) and writes out re-laid.
// Returns the first rule broken, or null.
const char* brokenWriteRule(const uint8_t* data, size_t size, const PaneEdits& edits);
