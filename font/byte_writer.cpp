#include "font/byte_writer.h"

#include "font/byte_order.h"

#include <cstring>

bool ByteWriter::writeU8(uint8_t value) {
    if (remaining() < 1)
        return false;
    data_[offset_++] = value;
    return true;
}

bool ByteWriter::writeU16(uint16_t value) {
    if (remaining() < 2)
        return false;
    storeBigEndian16(data_ + offset_, value);
    offset_ += 2;
    return true;
}

bool ByteWriter::writeU32(uint32_t value) {
    if (remaining() < 4)
        return false;
    storeBigEndian32(data_ + offset_, value);
    offset_ += 4;
    return true;
}

bool ByteWriter::writeBytes(const uint8_t* bytes, size_t count) {
    if (remaining() < count)
        return false;
    if (count != 0)
        std::memcpy(data_ + offset_, bytes, count);
    offset_ += count;
    return true;
}

bool ByteWriter::seek(size_t offset) {
    if (offset > size_)
        return false;
    offset_ = offset;
    return true;
}
