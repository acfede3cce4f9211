#include "tables/name/name_edit.h"

#include <algorithm>
#include <cstring>
#include <iterator>

const char kLongFamilyNameWarning[] =
    "ファミリ名が 31 文字を超えると、Windows の一部のプログラムで選べなくなります。";

namespace {

constexpr uint16_t kUnicodePlatform = 0;
constexpr size_t kLongestPostScriptName = 63;
constexpr size_t kLongestFamilyName = 31;
constexpr char16_t kFirstPrintable = 33, kLastPrintable = 126;
constexpr char kPostScriptForbidden[] = "[](){}<>/%";
constexpr uint16_t kRenamedIds[] = {1, 3, 4, 6, 16, 18, 20, 21};

std::u16string replacedAll(const std::u16string& text, const std::u16string& find,
                           const std::u16string& with) {
    std::u16string result;
    size_t from = 0;
    for (size_t at = text.find(find); at != std::u16string::npos; at = text.find(find, from)) {
        result.append(text, from, at - from).append(with);
        from = at + find.size();
    }
    return result.append(text, from, std::u16string::npos);
}

} // namespace

bool isEditableName(const NamingRecord& record) {
    return record.platformID == kUnicodePlatform || record.platformID == kWindowsPlatform;
}

NameBytes utf16Bytes(const std::u16string& text) {
    NameBytes bytes;
    bytes.reserve(2 * text.size());
    for (char16_t unit : text) {
        bytes.push_back(static_cast<uint8_t>(unit >> 8));
        bytes.push_back(static_cast<uint8_t>(unit));
    }
    return bytes;
}

bool isPostScriptName(const std::u16string& text) {
    if (text.empty() || text.size() > kLongestPostScriptName)
        return false;
    return std::all_of(text.begin(), text.end(), [](char16_t unit) {
        return unit >= kFirstPrintable && unit <= kLastPrintable &&
               std::strchr(kPostScriptForbidden, static_cast<char>(unit)) == nullptr;
    });
}

NameEdit storeName(NamingTable& table, size_t index, const std::u16string& text) {
    if (!table.valid || index >= table.records.size() || !isEditableName(table.records[index]))
        return NameEdit::readOnly;
    NamingRecord& record = table.records[index];
    NameBytes bytes = utf16Bytes(text);
    if (bytes == record.string)
        return NameEdit::unchanged;
    if (record.nameID == kPostScriptNameId && !isPostScriptName(text))
        return NameEdit::badPostScriptName;
    record.string.swap(bytes);
    if (table.storageSize() > kNameStorageLimit) {
        record.string.swap(bytes);
        return NameEdit::tooLarge;
    }
    return NameEdit::stored;
}

bool familyNameTooLong(const NamingTable& table) {
    return std::any_of(table.records.begin(), table.records.end(), [](const NamingRecord& r) {
        return r.platformID == kWindowsPlatform && r.nameID == kFamilyNameId &&
               r.string.size() / 2 > kLongestFamilyName;
    });
}

void replaceInNames(NamingTable& table, const std::u16string& find, const std::u16string& with,
                    NameReplacement& tally) {
    if (find.empty())
        return;
    for (size_t i = 0; i < table.records.size(); ++i) {
        const NamingRecord& record = table.records[i];
        if (!isEditableName(record) || std::find(std::begin(kRenamedIds), std::end(kRenamedIds),
                                                 record.nameID) == std::end(kRenamedIds))
            continue;
        const std::u16string text = nameText(record.string);
        if (text.find(find) == std::u16string::npos)
            continue;
        switch (storeName(table, i, replacedAll(text, find, with))) {
        case NameEdit::stored:
            ++tally.replaced;
            break;
        case NameEdit::badPostScriptName:
            ++tally.postScriptLeft;
            break;
        case NameEdit::tooLarge:
            ++tally.tooLarge;
            break;
        case NameEdit::unchanged: // find and with the same, or an odd byte dropped
        case NameEdit::readOnly:
            break;
        }
    }
}

std::string replacementStatus(const NameReplacement& tally) {
    std::string text = tally.replaced == 0
                           ? "置換する名前はありませんでした。"
                           : std::to_string(tally.replaced) + " 個の名前を置換しました。";
    if (tally.postScriptLeft != 0)
        text += "PostScript 名 " + std::to_string(tally.postScriptLeft) +
                " 個は規則に合わないため置換していません。";
    if (tally.tooLarge != 0)
        text += std::to_string(tally.tooLarge) +
                " 個は名前の表が大きくなりすぎるため置換していません。";
    return text;
}
