#include "tables/os2/value_names.h"

#include <gtest/gtest.h>

#include <string>

namespace {
std::vector<std::pair<std::string, uint16_t>> walk(const std::vector<NamedValue>& table) {
    std::vector<std::pair<std::string, uint16_t>> out;
    for (const NamedValue& entry : table)
        out.emplace_back(entry.name, entry.value);
    return out;
}
} // namespace

TEST(ValueNames, UsageAndOptionNamesIterateInDefinitionOrder) {
    buildValueNameTables();
    // The test sources share the program's Shift-JIS execution charset.
    std::vector<std::pair<std::string, uint16_t>> usage = {
        {"制限ライセンス", 2},       {"表示・印刷可能", 4},     {"編集可能", 8},
        {"表示・印刷・編集可能", 12}, {"インストール可能", 0}};
    EXPECT_EQ(walk(fsTypeUsageNames), usage);
    std::vector<std::pair<std::string, uint16_t>> options = {{"非サブセット", 0x0100},
                                                             {"ビットマップのみ", 0x0200}};
    EXPECT_EQ(walk(fsTypeOptionNames), options);
    // Shift-JIS, not UTF-8: 表 is 0x95 0x5C in code page 932.
    EXPECT_EQ(std::string(fsTypeUsageNames[1].name).substr(0, 2), "\x95\x5C");
}

TEST(ValueNames, PanoseWeightsAscend) {
    buildValueNameTables();
    ASSERT_EQ(panoseWeightNames.size(), 12u);
    uint8_t expected = 0;
    for (const auto& [value, name] : panoseWeightNames)
        EXPECT_EQ(value, expected++) << name;
    EXPECT_STREQ(panoseWeightNames.at(8), "Bold");
    EXPECT_STREQ(panoseWeightNames.at(11), "Nord");
}

TEST(ValueNames, LookupsAnswerNullForValuesWithoutAName) {
    buildValueNameTables();
    struct Case {
        const char* (*lookUp)(uint16_t);
        uint16_t value;
        const char* name;
    } cases[] = {
        {weightClassName, 100, "Thin"},   {weightClassName, 400, "Regular"},
        {weightClassName, 900, "Black"},  {weightClassName, 450, nullptr},
        {weightClassName, 0, nullptr},    {weightClassName, 1000, nullptr},
        {widthClassName, 1, "Ultra-condensed"}, {widthClassName, 5, "Medium"},
        {widthClassName, 9, "Ultra-expanded"},  {widthClassName, 10, nullptr},
        {widthClassName, 0, nullptr},
    };
    for (const Case& c : cases) {
        const char* name = c.lookUp(c.value);
        if (c.name == nullptr)
            EXPECT_EQ(name, nullptr) << c.value;
        else
            EXPECT_STREQ(name, c.name) << c.value;
    }
}

TEST(ValueNames, BuildingTwiceChangesNothing) {
    buildValueNameTables();
    auto usage = walk(fsTypeUsageNames);
    size_t weights = weightClassNames.size();
    buildValueNameTables();
    EXPECT_EQ(walk(fsTypeUsageNames), usage);
    EXPECT_EQ(weightClassNames.size(), weights);
    EXPECT_EQ(widthClassNames.size(), 9u);
}
