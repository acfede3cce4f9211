// What the OS/2 pane's controls show of the model and store into it: the
// trackbars stand for hundreds of weight class and for the width class
// itself, the PANOSE list's items carry the weight they name. Free of
// windows.h, so the pane and the tests call the same functions.
#pragma once

#include "tables/os2/os2.h"

#include <algorithm>
#include <cstdint>

constexpr int kOS2TrackbarMin = 1;
constexpr int kOS2TrackbarMax = 9;

// Where a trackbar shows a value: a value outside the bar's range at its
// nearer end, as the trackbar itself would place it.
inline int weightPosition(const OS2& os2) {
    return std::clamp(os2.usWeightClass / 100, kOS2TrackbarMin, kOS2TrackbarMax);
}
inline int widthPosition(const OS2& os2) {
    return std::clamp(int{os2.usWidthClass}, kOS2TrackbarMin, kOS2TrackbarMax);
}

// A position the user moved a trackbar to; only its own member changes.
inline void storeWeightPosition(OS2& os2, int position) {
    os2.usWeightClass = static_cast<uint16_t>(position * 100);
}
inline void storeWidthPosition(OS2& os2, int position) {
    os2.usWidthClass = static_cast<uint16_t>(position);
}

// The item data of the PANOSE item chosen: its low byte is the weight.
inline void storePanoseWeight(OS2& os2, intptr_t itemData) {
    os2.panose[kPanoseWeightIndex] = static_cast<uint8_t>(itemData & 0xFF);
}

// fsSelection bit 7, USE_TYPO_METRICS: set, it tells the platforms that
// heed it to space lines by the typo metrics. Defined from version 4 on.
constexpr uint16_t kUseTypoMetricsBit = 0x0080;
constexpr uint16_t kUseTypoMetricsFirstVersion = 4;

inline bool definesUseTypoMetrics(const OS2& os2) {
    return os2.version >= kUseTypoMetricsFirstVersion;
}
inline bool usesTypoMetrics(const OS2& os2) {
    return (os2.fsSelection & kUseTypoMetricsBit) != 0;
}
// Sets or clears the bit alone, every other bit as read; false, changing
// nothing, for a version that does not define it.
inline bool storeUseTypoMetrics(OS2& os2, bool on) {
    if (!definesUseTypoMetrics(os2))
        return false;
    os2.fsSelection = static_cast<uint16_t>(on ? os2.fsSelection | kUseTypoMetricsBit
                                               : os2.fsSelection & ~kUseTypoMetricsBit);
    return true;
}
