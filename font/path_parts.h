// Parts of a path as Windows spells it (UTF-16): no unit of another
// character, a surrogate included, is ever taken for a separator.
#pragma once

// The last component of path: the position after its last ':', '\\' or '/'.
const wchar_t* fileNamePart(const wchar_t* path);
