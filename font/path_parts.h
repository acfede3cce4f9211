// Parts of an ANSI path (Win32: walked with CharNextA, so that the second byte
// of a double-byte character is never taken for a separator).
#pragma once

// The last component of path: the position after its last ':', '\\' or '/'.
const char* fileNamePart(const char* path);
