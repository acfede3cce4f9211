// The table models: the one list of which tags are parsed into a table
// object, and by which class. Everything else (the container, the write
// rule, the app's panes) reads this list.
#pragma once

#include "font/font_object.h"

#include <cstddef>
#include <memory>

// make gives null for a table that its model refuses as a whole.
struct TableModel {
    const char* tag;
    // The table's object; null when the model takes no object for it.
    std::unique_ptr<fontObject> (*make)(const uint8_t* tableStart, size_t spanLength);
};

// The model for tag (compared exactly), or null when the tag has none.
const TableModel* tableModelFor(const char* tag);
