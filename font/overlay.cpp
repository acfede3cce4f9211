#include "font/overlay.h"

#include "font/byte_reader.h"
#include "font/byte_writer.h"
#include "font/checksum.h"

#include <algorithm>
#include <iterator>

void Overlay::put(size_t offset, const uint8_t* bytes, size_t count) {
    if (offset >= size_)
        return;
    count = std::min(count, size_ - offset);
    if (count == 0)
        return;
    size_t begin = offset, end = offset + count;
    // Every run that overlaps or touches [begin, end) joins the new one.
    auto first = runs_.upper_bound(begin);
    if (first != runs_.begin() && std::prev(first)->first + std::prev(first)->second.size() >= begin)
        --first;
    auto last = first;
    while (last != runs_.end() && last->first <= end)
        ++last;
    if (first != last) {
        begin = std::min(begin, first->first);
        auto back = std::prev(last);
        end = std::max(end, back->first + back->second.size());
    }
    std::vector<uint8_t> merged(base_ + begin, base_ + end);
    for (auto run = first; run != last; ++run)
        std::copy(run->second.begin(), run->second.end(), merged.begin() + (run->first - begin));
    std::copy(bytes, bytes + count, merged.begin() + (offset - begin));
    runs_.erase(first, last);
    runs_.emplace(begin, std::move(merged));
}

void Overlay::putU32(size_t offset, uint32_t value) {
    uint8_t bytes[4] = {};
    ByteWriter(bytes, sizeof bytes).writeU32(value);
    put(offset, bytes, sizeof bytes);
}

uint32_t Overlay::u32At(size_t offset) const {
    uint8_t bytes[4] = {};
    for (size_t i = 0; i < sizeof bytes; ++i) {
        const size_t at = offset + i;
        auto run = runs_.upper_bound(at);
        if (run != runs_.begin() && at < std::prev(run)->first + std::prev(run)->second.size())
            bytes[i] = std::prev(run)->second[at - std::prev(run)->first];
        else if (at < size_)
            bytes[i] = base_[at];
    }
    uint32_t value = 0;
    ByteReader(bytes, sizeof bytes).readU32(value);
    return value;
}

uint32_t Overlay::checksum(size_t begin, size_t length) const {
    const size_t end = std::min(begin + length, size_);
    if (begin >= end)
        return 0;
    uint32_t sum = sfntChecksum(base_ + begin, end - begin);
    // Each laid byte adds its difference from the base at its place in its word.
    anyLaidByte(begin, end, [&](size_t at, uint8_t laid) {
        const uint32_t shift = 8 * (3 - (at - begin) % 4);
        sum += (uint32_t{laid} << shift) - (uint32_t{base_[at]} << shift);
        return false;
    });
    return sum;
}

bool Overlay::changes(size_t begin, size_t end) const {
    return anyLaidByte(begin, end, [&](size_t at, uint8_t laid) { return laid != base_[at]; });
}

std::map<size_t, std::vector<uint8_t>>::const_iterator Overlay::firstRun(size_t begin) const {
    auto run = runs_.upper_bound(begin);
    return run == runs_.begin() ? run : std::prev(run);
}

bool Overlay::writeTo(ByteSink& sink, size_t begin, size_t length) const {
    const size_t end = std::min(begin + length, size_);
    size_t at = begin;
    for (auto run = firstRun(begin); at < end && run != runs_.end() && run->first < end; ++run) {
        const size_t runEnd = run->first + run->second.size();
        if (runEnd <= at)
            continue;
        if (run->first > at && !sink.write(base_ + at, run->first - at))
            return false;
        const size_t from = std::max(at, run->first), to = std::min(runEnd, end);
        if (!sink.write(run->second.data() + (from - run->first), to - from))
            return false;
        at = to;
    }
    return at >= end || sink.write(base_ + at, end - at);
}
