// The line-spacing preview's font: what a write-out would write of one font
// now, held in memory and named so that Windows can only answer with it.
#pragma once

#include "font/byte_sink.h"

#include <cstddef>
#include <cstdint>
#include <string>

class OTF;

// Streams font alone (font/write_out.h's writeFontAlone) to sink, unsaved
// edits and removals included, with every editable family name (IDs 1, 16
// and 21) of a copy of its name table replaced by privateFamily. The open
// font, its objects and its unsaved-edits state are left as they were.
// False when the font has no name table object, the copy holds no family
// name to replace, or the write-out fails.
bool writePreviewCopy(const OTF& otf, const uint8_t* image, size_t imageSize, size_t font,
                      const std::u16string& privateFamily, ByteSink& sink);
