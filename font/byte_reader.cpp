#include "font/byte_reader.h"

#include "font/byte_order.h"

#include <cstring>

bool ByteReader::readU8(uint8_t& value) {
    if (remaining() < 1)
        return false;
    value = data_[offset_++];
    return true;
}

bool ByteReader::readU16(uint16_t& value) {
    if (remaining() < 2)
        return false;
    value = bigEndian16(data_ + offset_);
    offset_ += 2;
    return true;
}

bool ByteReader::readS16(int16_t& value) {
    uint16_t raw;
    if (!readU16(raw))
        return false;
    value = static_cast<int16_t>(raw);
    return true;
}

bool ByteReader::readU32(uint32_t& value) {
    if (remaining() < 4)
        return false;
    value = bigEndian32(data_ + offset_);
    offset_ += 4;
    return true;
}

bool ByteReader::readBytes(uint8_t* out, size_t count) {
    if (remaining() < count)
        return false;
    if (count != 0)
        std::memcpy(out, data_ + offset_, count);
    offset_ += count;
    return true;
}

bool ByteReader::skip(size_t count) {
    if (remaining() < count)
        return false;
    offset_ += count;
    return true;
}

bool ByteReader::seek(size_t offset) {
    if (offset > size_)
        return false;
    offset_ = offset;
    return true;
}
