// Fonts for the benchmarks: a head, an OS/2 (version 4) and a gasp table,
// then filler tables with distinct tags, so that the file has exactly the
// number of tables and about the size asked for.
#pragma once

#include "tests/support/sfnt_builder.h"

#include <cstddef>

Bytes syntheticFont(size_t numTables, size_t fileSize);
