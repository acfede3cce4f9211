// The texts that name the fonts of a collection sharing a table: the status
// notice and the question asked before a table is removed. No window code,
// so that they are built in one place for the windows and the tests.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// "この表はフォント 0, 2 が共有しています。" for a table that more than one
// font lists; empty for a table of one font.
std::string sharingNotice(const std::vector<size_t>& fonts);

// The question before tag is removed from a font: whether to remove it, or,
// for a table that the fonts list (more than one), whether to remove it from
// all of them. The tables that go with it (also), when there are any, are
// named on a line of their own; the last line says that only opening the
// file again brings them back.
std::string removalQuestion(const char* tag, const std::vector<size_t>& fonts,
                            const std::vector<std::string>& also = {});

// The refusal of a table that neededBy, a table the font cannot do without,
// needs.
std::string removalRefusal(const std::string& neededBy);
