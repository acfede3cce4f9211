// Names under which the name pane shows a record's identity: the meaning of
// its name ID, its platform and encoding, and its language; and the code page
// that shows a string that is not UTF-16. UTF-8, as all interface text.
#pragma once

#include "tables/name/naming_table.h"

#include <cstdint>
#include <string>

// "1 ファミリ名"; the number alone for an ID without a meaning here.
std::string nameIdText(uint16_t nameID);
// "3 Windows / 1 Unicode BMP"; a number alone where no name is known.
std::string platformEncodingText(uint16_t platformID, uint16_t encodingID);
// "0x0411 日本語", "0x0000"; in format 1, an ID from 0x8000 on names its
// language tag of table.
std::string languageText(const NamingTable& table, const NamingRecord& record);

// The Windows code page that converts a record's string for display, or 0
// for a record that holds UTF-16BE (see nameText).
uint32_t displayCodePage(const NamingRecord& record);
