// The two sides of a table model's field list: a model reads and writes by
// walking one list of its fields with either stream, so that its parse and
// its write-back are mirror images by construction.
#pragma once

#include "font/byte_reader.h"
#include "font/byte_writer.h"

#include <cstddef>
#include <cstdint>

struct FieldReader {
    ByteReader& in;
    bool u16(uint16_t& value) { return in.readU16(value); }
    bool s16(int16_t& value) { return in.readS16(value); }
    bool u32(uint32_t& value) { return in.readU32(value); }
    template <size_t N> bool bytes(uint8_t (&value)[N]) { return in.readBytes(value, N); }
};

struct FieldWriter {
    ByteWriter& out;
    bool u16(uint16_t value) { return out.writeU16(value); }
    bool s16(int16_t value) { return out.writeS16(value); }
    bool u32(uint32_t value) { return out.writeU32(value); }
    template <size_t N> bool bytes(const uint8_t (&value)[N]) { return out.writeBytes(value, N); }
};
