// Counts the bytes the process holds on the heap through operator new, and
// the most it held since the last reset, so a benchmark can state the peak
// memory of one operation.
#pragma once

#include <cstddef>

size_t heapBytesInUse();
size_t heapPeakBytes();
// Starts a new peak at the bytes in use now.
void resetHeapPeak();
