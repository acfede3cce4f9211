// The arithmetic of editing one gasp range: the 32-bit value the range dialog
// takes and gives back, the ppem/points conversions, the check of a typed
// size and the replacement of a range in the model. Kept free of windows.h so
// that it is tested natively.
#pragma once

#include "tables/gasp/gasp_header.h"

#include <cstdint>
#include <map>
#include <optional>

constexpr uint16_t kGaspDialogFlags = GASP_GRIDFIT | GASP_DOGRAY; // what the check boxes set
constexpr uint32_t kGaspLargestTyped = 65534;                     // larger numbers are refused

// Low 16 bits the size limit, high 16 bits the behaviour word.
constexpr uint32_t packGaspRange(uint16_t rangeMaxPPEM, uint16_t behavior) {
    return uint32_t{rangeMaxPPEM} | (uint32_t{behavior} << 16);
}
constexpr uint16_t gaspRangePPEM(uint32_t packed) {
    return static_cast<uint16_t>(packed);
}
constexpr uint16_t gaspRangeBehavior(uint32_t packed) {
    return static_cast<uint16_t>(packed >> 16);
}

// Points rounded up to whole pixels per em at 96 dpi: points * 4 / 3.
constexpr uint64_t gaspPointsToPPEM(uint32_t points) {
    return (uint64_t{points} * 4 + 2) / 3;
}
// The whole part of ppem * 0.75.
constexpr uint32_t gaspPPEMToPoints(uint16_t ppem) {
    return uint32_t{ppem} * 3 / 4;
}

// The size limit that the dialog confirms for a number typed in the given
// unit, or nothing when the number is refused. The last range keeps its
// limit whatever was typed; any other range needs 1 to 65534 as typed, and
// in points also a ppem below the last range's marker.
inline std::optional<uint16_t> gaspLimitFromTyped(uint32_t typed, bool inPoints,
                                                  uint16_t initialPPEM) {
    if (typed > kGaspLargestTyped || (typed == 0 && initialPPEM != kGaspLastRange))
        return std::nullopt;
    if (initialPPEM == kGaspLastRange)
        return kGaspLastRange;
    if (!inPoints)
        return static_cast<uint16_t>(typed);
    uint64_t ppem = gaspPointsToPPEM(typed);
    if (ppem >= kGaspLastRange)
        return std::nullopt;
    return static_cast<uint16_t>(ppem);
}

// The pair the range dialog ends with when the user confirms: the typed
// number's limit and the two check boxes. Nothing when the number is refused.
inline std::optional<uint32_t> confirmedGaspRange(uint32_t typed, bool inPoints, bool hinting,
                                                  bool smoothing, uint16_t initialPPEM) {
    std::optional<uint16_t> limit = gaspLimitFromTyped(typed, inPoints, initialPPEM);
    if (!limit)
        return std::nullopt;
    auto behavior =
        static_cast<uint16_t>((hinting ? GASP_GRIDFIT : 0) | (smoothing ? GASP_DOGRAY : 0));
    return packGaspRange(*limit, behavior);
}

// The behaviour word of an edited range: the dialog decides bits 0 and 1,
// every other bit stays as the range had it.
constexpr uint16_t gaspEditedBehavior(uint16_t oldBehavior, uint16_t dialogBehavior) {
    return static_cast<uint16_t>((oldBehavior & ~kGaspDialogFlags) |
                                 (dialogBehavior & kGaspDialogFlags));
}

enum class GaspEditResult { replaced, missing, duplicate };

// Replaces the range limited at oldPPEM by the confirmed pair from the dialog.
// A new limit that another range already has changes nothing.
inline GaspEditResult replaceGaspRange(std::map<uint16_t, uint16_t>& ranges, uint16_t oldPPEM,
                                       uint32_t confirmed) {
    auto entry = ranges.find(oldPPEM);
    if (entry == ranges.end())
        return GaspEditResult::missing;
    uint16_t newPPEM = gaspRangePPEM(confirmed);
    if (newPPEM != oldPPEM && ranges.count(newPPEM) != 0)
        return GaspEditResult::duplicate;
    uint16_t behavior = gaspEditedBehavior(entry->second, gaspRangeBehavior(confirmed));
    ranges.erase(entry);
    ranges.emplace(newPPEM, behavior);
    return GaspEditResult::replaced;
}
