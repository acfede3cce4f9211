#include "bench/synthetic_font.h"

#include <string>

namespace {

constexpr size_t kEditableTables = 3; // head, OS/2, gasp

// "b000", "b001", ... in base 36: distinct, and none a tag the models know.
std::string fillerTag(size_t index) {
    const char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string tag = "b000";
    for (size_t position = 3; position >= 1; --position, index /= 36)
        tag[position] = digits[index % 36];
    return tag;
}

} // namespace

Bytes syntheticFont(size_t numTables, size_t fileSize) {
    SfntBuilder builder;
    builder.table("head", headTable())
        .table("OS/2", os2Table(4))
        .table("gasp", gaspTable(1, {{8, 2}, {16, 1}, {0xFFFF, 3}}));
    const size_t fillers = numTables > kEditableTables ? numTables - kEditableTables : 0;
    const size_t fixed = 12 + 16 * numTables + 256;
    const size_t each =
        fillers == 0 || fileSize <= fixed ? 4 : ((fileSize - fixed) / fillers) & ~size_t{3};
    for (size_t i = 0; i < fillers; ++i)
        builder.table(fillerTag(i), filler(each, static_cast<uint8_t>(i)));
    return builder.build();
}
