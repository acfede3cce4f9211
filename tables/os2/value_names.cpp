#include "tables/os2/value_names.h"

std::vector<NamedValue> fsTypeUsageNames;
std::vector<NamedValue> fsTypeOptionNames;
std::map<uint8_t, const char*> panoseWeightNames;

namespace {
bool valueNameTablesBuilt = false;
// Read through weightClassName and widthClassName.
std::map<uint16_t, const char*> weightClassNames;
std::map<uint16_t, const char*> widthClassNames;

const char* lookUp(const std::map<uint16_t, const char*>& names, uint16_t value) {
    auto entry = names.find(value);
    return entry == names.end() ? nullptr : entry->second;
}
} // namespace

void buildValueNameTables() {
    if (valueNameTablesBuilt)
        return;
    valueNameTablesBuilt = true;

    fsTypeUsageNames = {
        {"制限ライセンス", 2},        {"表示・印刷可能", 4},   {"編集可能", 8},
        {"表示・印刷・編集可能", 12}, {"インストール可能", 0},
    };
    fsTypeOptionNames = {{"非サブセット", 0x0100}, {"ビットマップのみ", 0x0200}};
    weightClassNames = {{100, "Thin"},    {200, "Extra-light"}, {300, "Light"},
                        {400, "Regular"}, {500, "Medium"},      {600, "Semi-bold"},
                        {700, "Bold"},    {800, "Extra-bold"},  {900, "Black"}};
    widthClassNames = {{1, "Ultra-condensed"}, {2, "Extra-condensed"}, {3, "Condensed"},
                       {4, "Semi-condensed"},  {5, "Medium"},          {6, "Semi-expanded"},
                       {7, "Expanded"},        {8, "Extra-expanded"},  {9, "Ultra-expanded"}};
    panoseWeightNames = {{0, "Any"},  {1, "No Fit"}, {2, "Very Light"}, {3, "Light"},
                         {4, "Thin"}, {5, "Book"},   {6, "Medium"},     {7, "Demi"},
                         {8, "Bold"}, {9, "Heavy"},  {10, "Black"},     {11, "Nord"}};
}

const char* weightClassName(uint16_t usWeightClass) {
    return lookUp(weightClassNames, usWeightClass);
}

const char* widthClassName(uint16_t usWidthClass) {
    return lookUp(widthClassNames, usWidthClass);
}
