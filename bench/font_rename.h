// The benchmarks' rename, as a user starts one: font 0's Windows family name
// gets " Renamed" after it through the name model, in every name of the
// family that holds it. The name table grows, so the file is re-laid.
#pragma once

#include "font/otf.h"
#include "font/table_tags.h"
#include "tables/name/name_edit.h"

// False when font 0 has no name table or no Windows family name to rename.
inline bool renameFirstFont(OTF& otf) {
    NamingTable* name = otf.tableOf<NamingTable>(kNameTag, 0);
    if (name == nullptr)
        return false;
    constexpr uint16_t kWindowsPlatform = 3;
    for (const NamingRecord& record : name->records)
        if (record.platformID == kWindowsPlatform && record.nameID == kFamilyNameId) {
            const std::u16string family = nameText(record.string);
            NameReplacement tally;
            replaceInNames(*name, family, family + u" Renamed", tally);
            return tally.replaced != 0;
        }
    return false;
}
