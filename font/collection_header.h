// The header of a font collection (.ttc, .otc): the tag "ttcf", its version
// and the offsets of its fonts' offset tables.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

enum class CollectionHeader {
    none,    // not a collection: the file is one font
    refused, // a collection header that does not fit the image or is of an unknown version
    read,
};

// Reads the header at the start of the image; fontOffsets receives the
// offsets of a header that was read.
CollectionHeader readCollectionHeader(const uint8_t* image, size_t imageSize,
                                      std::vector<uint32_t>& fontOffsets);
