// The name table: read whole or refused, compiled anew, edited under the
// PostScript and storage rules, replaced over the family names, and labelled.
#include "font/otf.h"
#include "tables/name/name_edit.h"
#include "tables/name/name_value_names.h"
#include "tests/support/sfnt_builder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

Bytes ascii(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

std::u16string textOf(const NamingTable& table, size_t index) {
    return nameText(table.records.at(index).string);
}

// Format 1: one Windows record in Japanese and one naming its language by
// 512 records that share one 32,768-byte string: 16 MiB of copies, the most a
// table may take; oneMore adds a record of one byte at the same place.
Bytes sharedStrings(bool oneMore) {
    const uint16_t count = oneMore ? 513 : 512, storage = 6 + 12 * count;
    Bytes table(storage + 32768, 'a');
    putU16(table, 0, 0);
    putU16(table, 2, count);
    putU16(table, 4, storage);
    for (uint16_t i = 0; i < count; ++i) {
        const uint16_t fields[] = {1, 0, 0, i, uint16_t(i == 512 ? 1 : 32768), 0};
        for (size_t f = 0; f < 6; ++f)
            putU16(table, 6 + 12 * i + 2 * f, fields[f]);
    }
    return table;
}

// tag 0x8000 ("ja"); header 6 + 24, tag count and record 6, storage 36 on,
// the tag's string last, ending at 48.
const Bytes kFormat1 = rawNameTable(
    {{3, 1, 0x0411, 1, utf16be(u"Ab")}, {0, 4, 0x8000, 1, utf16be(u"Cd")}}, 1, {utf16be(u"ja")});

} // namespace

TEST(NamingTable, ReadsATableWhoseEveryPartLiesInTheSpanAndRefusesItOneBytePast) {
    // Two records with empty strings: records end at 30, and so does the
    // table. With the storage at 0, only the records can lie past it; so can
    // only the tag record of a format 1 table with none (header 6, tags 6).
    const Bytes empty = rawNameTable({{3, 1, 0x0409, 1, {}}, {3, 1, 0x0409, 4, {}}});
    Bytes storagePast = empty, format2 = empty, storageAt0 = empty;
    Bytes tagOnly = rawNameTable({}, 1, {{}});
    putU16(storagePast, 4, 31);
    putU16(storageAt0, 4, 0);
    putU16(tagOnly, 4, 0);
    putU16(format2, 0, 2);
    const Bytes strings = nameTable({{3, 1, 0x0409, 1, u"Ab"}, {3, 1, 0x0409, 4, u"Abc"}});
    const Bytes odd = rawNameTable({{3, 1, 0x0409, 1, {0x00, 0x41, 0x00}}});
    // At 65,535 bytes of storage, and one past: the second string starts at 65,535.
    const Bytes full = rawNameTable({{1, 0, 0, 0, Bytes(65535, 'a')}, {1, 0, 0, 1, {}}});
    const Bytes over = rawNameTable({{1, 0, 0, 0, Bytes(65535, 'a')}, {1, 0, 0, 1, {'b'}}});
    const Bytes shared = sharedStrings(false), sharedPast = sharedStrings(true);
    // clang-format off
    const std::tuple<const char*, Bytes, size_t, bool> cases[] = {
        {"header cut", empty, 5, false},
        {"records whole", storageAt0, 30, true},
        {"records cut one byte short", storageAt0, 29, false},
        {"storageOffset at the end", empty, 30, true},
        {"storageOffset past the table", storagePast, 30, false},
        {"format 2", format2, 30, false},
        {"a string ending at the end", strings, 40, true},
        {"a string one byte past", strings, 39, false},
        {"format 1 tag record whole", tagOnly, 12, true},
        {"format 1 tag record cut one byte short", tagOnly, 11, false},
        {"format 1 tag string at the end", kFormat1, 48, true},
        {"format 1 tag string one byte past", kFormat1, 47, false},
        {"an odd-length UTF-16 string", odd, 21, true},
        {"storage at 65,535 bytes", full, full.size(), true},
        {"storage one byte past", over, over.size(), false},
        {"strings adding up to 16 MiB", shared, shared.size(), true},
        {"one byte more", sharedPast, sharedPast.size(), false},
    };
    // clang-format on
    for (const auto& [what, table, span, valid] : cases) {
        SCOPED_TRACE(what);
        NamingTable name(table.data(), span);
        EXPECT_EQ(name.valid != 0, valid);
        EXPECT_EQ(name.writeExtent(), valid ? span : 0u) << "as read, compiled to its length";
        EXPECT_TRUE(valid || (name.records.empty() && name.languageTags.empty()))
            << "nothing kept half";
        // The container gives a refused table no object, but lists it.
        Bytes font =
            SfntBuilder().table("name", Bytes(table.begin(), table.begin() + span)).build();
        OTF otf(font.data(), font.size());
        fontObject* object = &otf;
        EXPECT_TRUE(otf.findTable("name", object));
        EXPECT_EQ(object != nullptr, valid);
    }
    NamingTable format1(kFormat1.data(), kFormat1.size());
    ASSERT_EQ(format1.languageTags, std::vector<Bytes>{utf16be(u"ja")});
    EXPECT_EQ(format1.records[1].languageID, 0x8000);
    NamingTable oddName(odd.data(), odd.size());
    EXPECT_EQ(textOf(oddName, 0), u"A") << "the odd last byte is no unit";
}

TEST(NamingTable, CompilesTheRecordsInOrderWithEachDistinctStringOnceAtItsNewLength) {
    // As the builder lays it out: "Ab", "Abc", "Ab" and a Macintosh "Ab" one after another.
    const Bytes asBuilt = rawNameTable({{3, 1, 0x0409, 1, utf16be(u"Ab")},
                                        {3, 1, 0x0409, 4, utf16be(u"Abc")},
                                        {3, 1, 0x0411, 1, utf16be(u"Ab")},
                                        {1, 0, 0, 1, ascii("Ab")}});
    NamingTable name(asBuilt.data(), asBuilt.size());
    ASSERT_TRUE(name.valid);
    // clang-format off
    const Bytes compiled = {
        0, 0, 0, 4, 0, 54,                   // format 0, 4 records, storage at 54
        0, 3, 0, 1, 0x04, 0x09, 0, 1, 0, 4, 0, 0,  // "Ab" at 0
        0, 3, 0, 1, 0x04, 0x09, 0, 4, 0, 6, 0, 4,  // "Abc" at 4
        0, 3, 0, 1, 0x04, 0x11, 0, 1, 0, 4, 0, 0,  // "Ab" again: the same bytes
        0, 1, 0, 0, 0x00, 0x00, 0, 1, 0, 2, 0, 10, // Macintosh "Ab": other bytes
        0, 'A', 0, 'b', 0, 'A', 0, 'b', 0, 'c', 'A', 'b'};
    // clang-format on
    ASSERT_EQ(name.writeExtent(), compiled.size());
    EXPECT_LT(compiled.size(), asBuilt.size());
    Bytes out(compiled.size() + 4, 0xEE), expected = compiled;
    expected.insert(expected.end(), 4, 0xEE);
    EXPECT_FALSE(name.writeTable(out.data(), compiled.size() - 1)) << "a span too short";
    EXPECT_EQ(out, Bytes(compiled.size() + 4, 0xEE));
    EXPECT_TRUE(name.writeTable(out.data(), compiled.size()));
    EXPECT_EQ(out, expected);

    // "Abc" becomes "Ab": one string left for the three Windows records.
    EXPECT_EQ(storeName(name, 1, u"Ab"), NameEdit::stored);
    out.assign(60, 0);
    ASSERT_EQ(name.writeExtent(), 60u);
    ASSERT_TRUE(name.writeTable(out.data(), out.size()));
    EXPECT_EQ(getU16(out, 6 + 12 + 8), 4);  // "Abc" record: length 4
    EXPECT_EQ(getU16(out, 6 + 12 + 10), 0); // at 0
    EXPECT_EQ(getU16(out, 6 + 36 + 10), 4); // Macintosh "Ab" at 4
    EXPECT_EQ(Bytes(out.begin() + 54, out.end()), Bytes({0, 'A', 0, 'b', 'A', 'b'}));

    // Format 1: the tag's record and string follow the records, kept as read.
    NamingTable format1(kFormat1.data(), kFormat1.size());
    EXPECT_EQ(storeName(format1, 0, u"Abcd"), NameEdit::stored);
    out.assign(format1.writeExtent(), 0);
    ASSERT_EQ(out.size(), 36u + 8 + 4 + 4);
    ASSERT_TRUE(format1.writeTable(out.data(), out.size()));
    EXPECT_EQ(getU16(out, 4), 36);
    EXPECT_EQ(
        Bytes(out.begin() + 30, out.end()),
        Bytes({0, 1, 0, 4, 0, 12, 0, 'A', 0, 'b', 0, 'c', 0, 'd', 0, 'C', 0, 'd', 0, 'j', 0, 'a'}));
}

TEST(NameEdit, StoresWithinTheRulesAndRefusesEachBreakChangingNothing) {
    // A Macintosh string of 1 or 2 bytes beside a Windows one: 32,767 units
    // put the storage at 65,535 bytes, or one past.
    for (auto [mac, result] : {std::pair{Bytes{'a'}, NameEdit::stored},
                               std::pair{Bytes{'a', 'b'}, NameEdit::tooLarge}}) {
        const Bytes bytes = rawNameTable({{1, 0, 0, 1, mac}, {3, 1, 0x0409, 1, utf16be(u"x")}});
        NamingTable name(bytes.data(), bytes.size());
        EXPECT_EQ(storeName(name, 1, std::u16string(32767, u'y')), result);
        EXPECT_EQ(name.storageSize(), result == NameEdit::stored ? 65535u : mac.size() + 2);
    }
    const Bytes bytes = rawNameTable(
        {{1, 0, 0, 6, ascii("Mac")}, {0, 3, 0, 6, utf16be(u"Ps")}, {3, 1, 0x409, 6, {}}});
    NamingTable name(bytes.data(), bytes.size());
    EXPECT_EQ(storeName(name, 0, u"Other"), NameEdit::readOnly);
    EXPECT_EQ(storeName(name, 3, u"Other"), NameEdit::readOnly) << "no such record";
    EXPECT_EQ(storeName(name, 1, u"Ps"), NameEdit::unchanged);
    EXPECT_EQ(storeName(name, 1, u"P s"), NameEdit::badPostScriptName);
    EXPECT_EQ(storeName(name, 2, u"\u216B"), NameEdit::badPostScriptName);
    EXPECT_EQ(storeName(name, 2, u""), NameEdit::unchanged) << "an empty name as read stays";
    EXPECT_EQ(storeName(name, 1, u"New-Name"), NameEdit::stored);
    EXPECT_EQ(textOf(name, 1), u"New-Name");
    EXPECT_EQ(name.records[0].string, ascii("Mac"));
}

TEST(NameEdit, PostScriptNamesAreOneTo63PrintableAsciiWithoutTheTenDelimiters) {
    EXPECT_TRUE(isPostScriptName(std::u16string(63, u'A')));
    EXPECT_FALSE(isPostScriptName(std::u16string(64, u'A')));
    EXPECT_FALSE(isPostScriptName(u""));
    EXPECT_TRUE(isPostScriptName(u"!~-.Ab9")) << "33 and 126 are printable";
    for (char16_t unit : std::u16string(u"[](){}<>/% ") + u'\x7F' + u'\x1F' + u'\xFF' + u'Ａ')
        EXPECT_FALSE(isPostScriptName(std::u16string(u"Ab") + unit + u"c")) << int(unit);
}

TEST(NameEdit, ReplacesInTheFamilyNamesOfEditableRecordsAndLeavesBrokenPostScriptNames) {
    const std::u16string ids[] = {u"1", u"2", u"3", u"4", u"6", u"16", u"17", u"18", u"20", u"21"};
    std::vector<RawNameRecord> records;
    for (const std::u16string& id : ids)
        records.emplace_back(3, 1, 0x0409, std::stoi(std::string(id.begin(), id.end())),
                             utf16be(u"Foo" + id + u"Foo"));
    records.emplace_back(1, 0, 0, 1, ascii("Foo"));               // Macintosh: read-only
    records.emplace_back(0, 3, 0, 4, utf16be(u"foo Foo"));        // Unicode platform
    records.emplace_back(3, 1, 0x0411, 6, utf16be(u"FooGothic")); // would get a space
    const Bytes bytes = rawNameTable(records);
    NamingTable name(bytes.data(), bytes.size());
    NameReplacement tally;
    replaceInNames(name, u"Foo", u"Bar", tally);
    replaceInNames(name, u"", u"X", tally); // nothing to find
    replaceInNames(name, u"Bar1Bar", u"Bar BazBar", tally);
    const std::u16string expected[] = {u"Bar BazBar", u"Foo2Foo",  u"Bar3Bar",  u"Bar4Bar",
                                       u"Bar6Bar",    u"Bar16Bar", u"Foo17Foo", u"Bar18Bar",
                                       u"Bar20Bar",   u"Bar21Bar"};
    for (size_t i = 0; i < std::size(expected); ++i)
        EXPECT_EQ(textOf(name, i), expected[i]) << "ID " << name.records[i].nameID;
    EXPECT_EQ(name.records[10].string, ascii("Foo"));
    EXPECT_EQ(textOf(name, 11), u"foo Bar");
    EXPECT_EQ(textOf(name, 12), u"BarGothic");
    EXPECT_EQ(tally.replaced, 11u);
    EXPECT_EQ(tally.postScriptLeft, 0u);

    NameReplacement spaced;
    replaceInNames(name, u"Bar", u"A B", spaced);
    EXPECT_EQ(spaced.replaced, 8u);
    EXPECT_EQ(spaced.postScriptLeft, 2u) << "IDs 6 of both languages";
    EXPECT_EQ(textOf(name, 12), u"BarGothic");
    EXPECT_EQ(replacementStatus(spaced), "8 個の名前を置換しました。PostScript 名 2 個は規則に"
                                         "合わないため置換していません。");
    EXPECT_EQ(replacementStatus({}), "置換する名前はありませんでした。");
    EXPECT_EQ(replacementStatus({0, 1, 3}), "置換する名前はありませんでした。PostScript 名 1 個は"
                                            "規則に合わないため置換していません。3 個は名前の表が"
                                            "大きくなりすぎるため置換していません。");
}

TEST(NameEdit, AWindowsFamilyNameOver31UnitsIsTooLong) {
    for (auto [platform, id, length, tooLong] :
         {std::tuple{3, 1, 31, false}, {3, 1, 32, true}, {0, 1, 40, false}, {3, 4, 40, false}}) {
        const Bytes bytes = rawNameTable(
            {{3, 1, 0x409, 1, utf16be(u"Short")},
             {uint16_t(platform), 1, 0x411, uint16_t(id), utf16be(std::u16string(length, u'字'))}});
        NamingTable name(bytes.data(), bytes.size());
        EXPECT_EQ(familyNameTooLong(name), tooLong) << platform << " " << id << " " << length;
    }
}

// The pane's Wine cases show the common labels; these are the bounds.
TEST(NameValueNames, LabelIdsPlatformsLanguagesAndCodePagesAtTheirBounds) {
    NamingTable format1(kFormat1.data(), kFormat1.size());
    auto language = [&](uint16_t id) { return languageText(format1, {0, 0, id, 1, {}}); };
    const std::pair<std::string, std::string> texts[] = {
        {nameIdText(0), "0 著作権表示"},
        {nameIdText(15), "15"},
        {nameIdText(25), "25 バリエーションの PostScript 名の接頭辞"},
        {nameIdText(26), "26"},
        {platformEncodingText(3, 7), "3 Windows / 7"},
        {platformEncodingText(5, 1), "5 / 1"},
        {language(0x8000), "0x8000 ja"}, // format 1's first language tag
        {language(0x8001), "0x8001"},
    };
    for (const auto& [text, expected] : texts)
        EXPECT_EQ(text, expected);
    EXPECT_EQ(displayCodePage({1, 9, 0, 1, {}}), 10000u) << "a script without a code page";
    EXPECT_EQ(displayCodePage({2, 1, 0, 1, {}}), 0u) << "ISO 10646 is UTF-16BE";
}
