// libFuzzer target: every input goes through the replay the native tests
// use, with edits that vary with the input so that every row, the duplicate
// refusal and all flag values are reached. A broken rule aborts.
#include "tests/support/write_bounds.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    uint32_t hash = 2166136261u; // FNV-1a
    for (size_t i = 0; i < size; ++i)
        hash = (hash ^ data[i]) * 16777619u;
    PaneEdits edits;
    edits.font = hash % 7;
    edits.gaspRow = hash & 0xFF;
    edits.gaspTyped = (hash >> 8) & 0x1FFFF; // reaches past the largest typed size
    edits.gaspInPoints = (hash >> 25) & 1;
    edits.hinting = (hash >> 24) & 1;
    edits.smoothing = (hash >> 27) & 1;
    edits.weightPosition = static_cast<int>(1 + (hash >> 26) % 9);
    edits.widthPosition = static_cast<int>(1 + (hash >> 28) % 9);
    edits.panoseWeight = static_cast<uint8_t>(hash >> 20);
    edits.nameRecord = (hash >> 4) & 0xFF;
    edits.newName.assign((hash >> 12) % 70, u"Ab-ü "[hash % 5]); // the PostScript bound and past
    // Values around both ranges' ends, so that some are refused.
    for (size_t i = 0; i < edits.lineMetrics.size(); ++i)
        edits.lineMetrics[i] = static_cast<int32_t>((hash >> (3 * i)) % 0x20000) - 0x8100;
    edits.useTypoMetrics = (hash >> 29) & 1;
    edits.allFonts = (hash >> 30) & 1;
    if (const char* rule = brokenWriteRule(data, size, edits)) {
        std::fprintf(stderr, "container_fuzzer: broken rule: %s\n", rule);
        std::abort();
    }
    return 0;
}
