// Bounds-checked big-endian cursor over a writable byte span: the write
// counterpart of ByteReader. A write that would pass the end writes nothing.
#pragma once

#include <cstddef>
#include <cstdint>

class ByteWriter {
  public:
    ByteWriter(uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool writeU8(uint8_t value);
    bool writeU16(uint16_t value);
    bool writeS16(int16_t value) { return writeU16(static_cast<uint16_t>(value)); }
    bool writeU32(uint32_t value);
    bool writeBytes(const uint8_t* bytes, size_t count);
    bool seek(size_t offset);

    size_t offset() const { return offset_; }
    size_t remaining() const { return size_ - offset_; }

  private:
    uint8_t* data_;
    size_t size_;
    size_t offset_ = 0;
};
