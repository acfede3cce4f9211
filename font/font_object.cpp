#include "font/font_object.h"

std::vector<uint8_t> serializedFields(fontObject& object) {
    std::vector<uint8_t> bytes(object.writeExtent(), 0);
    if (bytes.empty() || !object.writeTable(bytes.data(), bytes.size()))
        return {};
    return bytes;
}
