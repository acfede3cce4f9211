// The one name a collection's tree shows for each of its fonts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The full font name (name ID 4) in a name table of spanLength bytes: the
// Windows Unicode record in Japanese, else in English, else in any language.
// Empty when the table holds no such record whose string lies in the span.
std::u16string fullFontName(const uint8_t* table, size_t spanLength);

class OTF;

// The full name of font as its name table's object holds it now, edits and
// all; as read (FontDirectory::fullName) when the table has no object.
std::u16string currentFullName(const OTF& otf, size_t font);
