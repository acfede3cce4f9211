// Which bytes a table object's writeTable writes: it writes onto two canvases
// of different fill that run kGuardSize bytes past its span, and a byte that
// keeps both fills was not written.
#pragma once

#include "font/font_object.h"

#include <gtest/gtest.h>

#include <vector>

constexpr size_t kGuardSize = 16;
constexpr int kUntouched = -1;
constexpr int kUnstable = -2; // the value written depends on the canvas

// One entry per byte of span + kGuardSize: kUntouched, or the value written.
inline std::vector<int> writtenBytes(fontObject& object, size_t span, bool expectResult) {
    std::vector<uint8_t> canvases[2] = {std::vector<uint8_t>(span + kGuardSize, 0xCC),
                                        std::vector<uint8_t>(span + kGuardSize, 0x33)};
    for (auto& canvas : canvases)
        EXPECT_EQ(object.writeTable(canvas.data(), span), expectResult);
    std::vector<int> written(span + kGuardSize);
    for (size_t i = 0; i < written.size(); ++i) {
        bool bothFills = canvases[0][i] == 0xCC && canvases[1][i] == 0x33;
        bool same = canvases[0][i] == canvases[1][i];
        written[i] = bothFills ? kUntouched : same ? canvases[0][i] : kUnstable;
    }
    return written;
}

// What writtenBytes gives when exactly bytes are written from the span's start.
inline std::vector<int> writtenAsOnly(const std::vector<uint8_t>& bytes, size_t span) {
    std::vector<int> written(span + kGuardSize, kUntouched);
    for (size_t i = 0; i < bytes.size() && i < written.size(); ++i)
        written[i] = bytes[i];
    return written;
}
