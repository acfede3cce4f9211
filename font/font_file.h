// Loading, writing out and releasing the open font file (Win32).
#pragma once

#include "font/otf.h"

#include <cstdint>
#include <memory>

using FileImage = std::unique_ptr<uint8_t[]>;

// Reads the whole file at path (UTF-16, as Windows spells it) into a new image and builds the
// container over it. Returns the file's length, or 0 when the file cannot be
// opened, is empty, is too large, cannot be read whole or is too short for its
// own directory; image and otf are then left as they were.
int32_t loadFontFile(const wchar_t* path, FileImage& image, std::unique_ptr<OTF>& otf);

// Writes the open font to path as it is now (font/write_out.h): from the
// image of length bytes as read, which stays as it is, and the container's
// objects. The target is replaced only once every byte has been written to a
// temporary file beside it; on any failure it keeps what it held and false
// is returned. On success the font's edits count as saved.
bool writeFontFile(const wchar_t* path, int32_t length, const uint8_t* image, OTF* otf);

// Releases the image and the container. Always 1.
int freeFontFile(FileImage& image, std::unique_ptr<OTF>& otf);
