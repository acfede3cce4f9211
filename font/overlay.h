// Bytes laid over a read-only base span without copying it: what a write-out
// changes, kept apart from the image as read, which is never written.
#pragma once

#include "font/byte_sink.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

class Overlay {
  public:
    Overlay(const uint8_t* base, size_t size) : base_(base), size_(size) {}

    // Lays count bytes at offset over the base and over what was laid
    // before; bytes past the base's end are dropped.
    void put(size_t offset, const uint8_t* bytes, size_t count);
    void putU32(size_t offset, uint32_t value);

    uint32_t u32At(size_t offset) const; // big-endian, zero past the end
    // The sfnt checksum of [begin, begin + length) as laid over.
    uint32_t checksum(size_t begin, size_t length) const;
    // Whether a byte of [begin, end) differs from the base.
    bool changes(size_t begin, size_t end) const;

    // [begin, begin + length) as laid over, to sink.
    bool writeTo(ByteSink& sink, size_t begin, size_t length) const;

  private:
    // The run that holds begin or is the last one before it.
    std::map<size_t, std::vector<uint8_t>>::const_iterator firstRun(size_t begin) const;
    // Whether test(offset, byte) holds for a laid byte in [begin, end),
    // asked in order until it does.
    template <class Test> bool anyLaidByte(size_t begin, size_t end, Test test) const {
        for (auto run = firstRun(begin); run != runs_.end() && run->first < end; ++run)
            for (size_t i = 0; i < run->second.size(); ++i) {
                const size_t at = run->first + i;
                if (at >= begin && at < end && test(at, run->second[i]))
                    return true;
            }
        return false;
    }

    const uint8_t* base_;
    size_t size_;
    std::map<size_t, std::vector<uint8_t>> runs_; // disjoint, by start
};
