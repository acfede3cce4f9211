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

TEST(ValueNames, TablesKeepTheirOrderWhenBuiltTwice) {
    buildValueNameTables();
    buildValueNameTables();
    // The test sources share the program's Shift-JIS execution charset.
    std::vector<std::pair<std::string, uint16_t>> usage = {{"制限ライセンス", 2},
                                                           {"表示・印刷可能", 4},
                                                           {"編集可能", 8},
                                                           {"表示・印刷・編集可能", 12},
                                                           {"インストール可能", 0}};
    EXPECT_EQ(walk(fsTypeUsageNames), usage);
    std::vector<std::pair<std::string, uint16_t>> options = {{"非サブセット", 0x0100},
                                                             {"ビットマップのみ", 0x0200}};
    EXPECT_EQ(walk(fsTypeOptionNames), options);
    EXPECT_EQ(std::string(fsTypeUsageNames[1].name).substr(0, 2), "\x95\x5C"); // 表 in CP932
    ASSERT_EQ(panoseWeightNames.size(), 12u);
    uint8_t expected = 0;
    for (const auto& [value, name] : panoseWeightNames)
        EXPECT_EQ(value, expected++) << name;
    EXPECT_STREQ(panoseWeightNames.at(8), "Bold");
}

TEST(ValueNames, LookupsAnswerNullForValuesWithoutAName) {
    buildValueNameTables();
    EXPECT_STREQ(weightClassName(100), "Thin");
    EXPECT_STREQ(weightClassName(900), "Black");
    EXPECT_STREQ(widthClassName(1), "Ultra-condensed");
    EXPECT_STREQ(widthClassName(9), "Ultra-expanded");
    for (uint16_t unnamed : {0, 450, 1000})
        EXPECT_EQ(weightClassName(unnamed), nullptr) << unnamed;
    for (uint16_t unnamed : {0, 10})
        EXPECT_EQ(widthClassName(unnamed), nullptr) << unnamed;
}
