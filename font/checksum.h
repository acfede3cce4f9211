// sfnt checksums: the sum of a span's bytes as big-endian uint32 words, the
// last word zero-padded.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr uint32_t kChecksumMagic = 0xB1B0AFBA;
constexpr size_t kHeadAdjustmentOffset = 8; // checkSumAdjustment within head
constexpr size_t kHeadMinimumSize = 12;

uint32_t sfntChecksum(const uint8_t* data, size_t length);
