// Which bytes a table object's writeTable writes: it writes onto two canvases
// of different fill that run a guard region past the span it is given, and a
// byte that keeps both fills was not written.
#pragma once

#include "font/font_object.h"

#include <gtest/gtest.h>

#include <vector>

constexpr size_t kGuardSize = 16;
constexpr int kUntouched = -1;
constexpr int kUnstable = -2; // written with a value that depends on the canvas

// One entry per byte of span + kGuardSize: kUntouched, or the value written.
inline std::vector<int> writtenBytes(fontObject& object, size_t span, bool expectResult) {
    const uint8_t fills[2] = {0xCC, 0x33};
    std::vector<uint8_t> canvases[2];
    for (size_t c = 0; c < 2; ++c) {
        canvases[c].assign(span + kGuardSize, fills[c]);
        EXPECT_EQ(object.writeTable(canvases[c].data(), span), expectResult);
    }
    std::vector<int> written(span + kGuardSize);
    for (size_t i = 0; i < written.size(); ++i) {
        if (canvases[0][i] == fills[0] && canvases[1][i] == fills[1])
            written[i] = kUntouched;
        else
            written[i] = canvases[0][i] == canvases[1][i] ? canvases[0][i] : kUnstable;
    }
    return written;
}

// The expected result of writtenBytes when exactly bytes are written from the
// table's first byte.
inline std::vector<int> writtenAsOnly(const std::vector<uint8_t>& bytes, size_t span) {
    std::vector<int> written(span + kGuardSize, kUntouched);
    for (size_t i = 0; i < bytes.size() && i < written.size(); ++i)
        written[i] = bytes[i];
    return written;
}
