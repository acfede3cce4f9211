// The one write-out of an open font: the file it would be now, made from the
// image as read (never written) and the table objects' current fields, and
// streamed to its sink in one pass.
//
// In place, while every table keeps its place: the file as read with each
// changed object's bytes at its tables, a new checksum for every record of a
// table whose bytes changed and, in a single font, head's adjustment. An
// unedited or set-back font is the file as read, byte for byte.
// Re-laid (font/layout.h) once a table was removed or a changed table's
// length is no longer the length read.
#pragma once

#include "font/byte_sink.h"
#include "font/otf.h"
#include "font/write_site.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// The changed objects at every table they write, in directory order; of
// onlyFont's directory alone when given.
std::vector<WriteSite> changedSites(const OTF& otf, size_t imageSize,
                                    std::optional<size_t> onlyFont = std::nullopt);

// The one choice: whether every table keeps its place.
bool fitsInPlace(const OTF& otf, size_t imageSize, const std::vector<WriteSite>& sites);

// False when the sink failed or the file cannot be laid out (a hostile
// directory whose tables would not fit in 32-bit offsets).
bool writeOut(const OTF& otf, const uint8_t* image, size_t imageSize, ByteSink& sink);

// What writeOut would write of font alone, as a single-font file laid out
// anew, with each object of standIns written in place of font's table of
// that tag: a copy that differs from the file in those tables only, while
// the container and its objects stay as they are. False as writeOut, and
// when font does not list a tag of standIns.
bool writeFontAlone(const OTF& otf, const uint8_t* image, size_t imageSize, size_t font,
                    const std::map<std::string, fontObject*>& standIns, ByteSink& sink);
