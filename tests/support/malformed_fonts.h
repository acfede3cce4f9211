// Font files built to break a reader: short, truncated, overlapping, lying
// about their counts, or not sfnt files at all. Each comes with what opening
// it must lead to, so the native tests and the GUI tests share one list.
#pragma once

#include "tests/support/sfnt_builder.h"

#include <string>
#include <vector>

enum class MalformedOutcome {
    // The container is not valid: a load takes the open-failure path.
    Refused,
    // Opens, but no table object can write: even an edited write-out leaves
    // every byte as it was read.
    PassesThrough,
    // Opens, and edits reach the image, yet only within the bytes the table
    // objects read, the directory's checksums and head's adjustment.
    EditsInside,
};

struct MalformedFont {
    std::string name; // letters, digits and dashes: also a file name
    Bytes bytes;
    MalformedOutcome outcome;
};

std::vector<MalformedFont> malformedFonts();

const char* outcomeName(MalformedOutcome outcome);
