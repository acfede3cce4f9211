// What the name pane and its dialogs store into a name table, kept free of
// windows.h so that the pane and the tests call the same functions: a record's
// text, the PostScript name rule, one edit, and a replacement over the names
// that make up a font's family.
#pragma once

#include "tables/name/naming_table.h"

#include <cstddef>
#include <string>

// Records of the Unicode (0) and Windows (3) platforms hold UTF-16BE and can
// be edited; every other record is shown only and kept as read.
bool isEditableName(const NamingRecord& record);

NameBytes utf16Bytes(const std::u16string& text);

// 1 to 63 characters of printable ASCII (33 to 126) other than [](){}<>/%.
bool isPostScriptName(const std::u16string& text);
constexpr uint16_t kPostScriptNameId = 6;
constexpr uint16_t kFamilyNameId = 1;

enum class NameEdit { stored, unchanged, readOnly, badPostScriptName, tooLarge };

// Stores text as the string of record index. Refused, changing nothing: a
// read-only record, a PostScript name that breaks the rule, and a string
// that would put the storage past kNameStorageLimit.
NameEdit storeName(NamingTable& table, size_t index, const std::u16string& text);

// Whether a Windows family name is longer than some programs of Windows
// accept (31 UTF-16 units).
bool familyNameTooLong(const NamingTable& table);

// What one replacement did, over one table or several.
struct NameReplacement {
    size_t replaced = 0;       // names changed
    size_t postScriptLeft = 0; // PostScript names the replacement would break
    size_t tooLarge = 0;       // names the storage had no room for
};

// Replaces every exact occurrence of find in the editable records of the
// names that say which font it is (IDs 1, 3, 4, 6, 16, 18, 20 and 21; not the
// style, 2 and 17). A name whose replacement is refused is left as it was.
void replaceInNames(NamingTable& table, const std::u16string& find, const std::u16string& with,
                    NameReplacement& tally);

// The status text after a replacement, and the warning after a store while a
// family name is too long. UTF-8, as all interface text.
std::string replacementStatus(const NameReplacement& tally);
extern const char kLongFamilyNameWarning[];
