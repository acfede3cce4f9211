// A path the program is given in UTF-16 (its argument, a dropped file), or a
// font's name to show, in the ANSI code page that it opens files with.
#pragma once

#include <optional>
#include <string>

// The path in the ANSI code page; nothing for a null path. A character with no
// form there becomes '?', never a look-alike: Windows' "best fit" would make é
// an e (or ¥ a '\') and so name another file. No file name holds '?', so such
// a path fails to open and the user is told.
std::optional<std::string> ansiPath(const wchar_t* path);
