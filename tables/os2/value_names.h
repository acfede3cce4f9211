// Names under which the OS/2 pane shows the values of the OS/2 table. The
// Japanese names are UTF-8 like all interface text.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

struct NamedValue {
    const char* name;
    uint16_t value;
};

// Listed in their order of definition, not by name or value.
extern std::vector<NamedValue> fsTypeUsageNames;
extern std::vector<NamedValue> fsTypeOptionNames;
extern std::map<uint8_t, const char*> panoseWeightNames;

// Fills the five tables; later calls change nothing.
void buildValueNameTables();

// The name of a value, or null when the table has none for it.
const char* weightClassName(uint16_t usWeightClass);
const char* widthClassName(uint16_t usWidthClass);
