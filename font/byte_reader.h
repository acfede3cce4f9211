// Bounds-checked big-endian cursor over a read-only byte span. Every read
// either succeeds completely or returns false and leaves the cursor alone.
#pragma once

#include <cstddef>
#include <cstdint>

class ByteReader {
  public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool readU8(uint8_t& value);
    bool readU16(uint16_t& value);
    bool readS16(int16_t& value);
    bool readU32(uint32_t& value);
    bool readBytes(uint8_t* out, size_t count);
    bool skip(size_t count);
    bool seek(size_t offset);

    size_t offset() const { return offset_; }
    size_t size() const { return size_; }
    size_t remaining() const { return size_ - offset_; }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t offset_ = 0;
};
