#include "font/checksum.h"

#include "font/byte_order.h"

uint32_t sfntChecksum(const uint8_t* data, size_t length) {
    uint32_t sum = 0;
    size_t whole = length & ~size_t{3};
    for (size_t i = 0; i < whole; i += 4)
        sum += bigEndian32(data + i);
    if (whole != length) {
        uint8_t last[4] = {};
        for (size_t i = whole; i < length; ++i)
            last[i - whole] = data[i];
        sum += bigEndian32(last);
    }
    return sum;
}
