// The name a collection's tree shows for each of its fonts.
#pragma once

#include "font/otf.h"

#include <cstddef>
#include <cstdint>
#include <string>

// The full name of font as its name table's object holds it now, edits and
// all; read from the table's bytes in the image as read when the table has no
// object. Empty when the font has neither.
std::u16string currentFullName(const OTF& otf, const uint8_t* image, size_t imageSize, size_t font);
