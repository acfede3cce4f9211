#include "tables/name/name_value_names.h"

#include "tables/name/name_edit.h"

#include <cstdio>
#include <iterator>

namespace {

struct Named {
    uint16_t value;
    const char* name;
};

template <size_t N> const char* lookUp(const Named (&names)[N], uint16_t value) {
    for (const Named& entry : names)
        if (entry.value == value)
            return entry.name;
    return nullptr;
}

std::string numbered(uint16_t value, const char* name) {
    return name == nullptr ? std::to_string(value) : std::to_string(value) + " " + name;
}

constexpr Named kNameIds[] = {
    {0, "著作権表示"},
    {1, "ファミリ名"},
    {2, "サブファミリ名"},
    {3, "一意の識別子"},
    {4, "フルネーム"},
    {5, "バージョン"},
    {6, "PostScript名"},
    {7, "商標"},
    {8, "製造元"},
    {9, "デザイナー"},
    {10, "説明"},
    {11, "ベンダーの URL"},
    {12, "デザイナーの URL"},
    {13, "ライセンス"},
    {14, "ライセンスの URL"},
    {16, "タイポグラフィック ファミリ名"},
    {17, "タイポグラフィック サブファミリ名"},
    {18, "Mac 互換フルネーム"},
    {19, "サンプル テキスト"},
    {20, "PostScript CID findfont 名"},
    {21, "WWS ファミリ名"},
    {22, "WWS サブファミリ名"},
    {23, "明るい背景のパレット"},
    {24, "暗い背景のパレット"},
    {25, "バリエーションの PostScript 名の接頭辞"},
};

constexpr uint16_t kUnicode = 0, kMacintosh = 1, kIso = 2, kWindows = 3;
constexpr Named kPlatforms[] = {
    {kUnicode, "Unicode"}, {kMacintosh, "Macintosh"}, {kIso, "ISO"},
    {kWindows, "Windows"}, {4, "カスタム"},
};
constexpr Named kUnicodeEncodings[] = {
    {0, "Unicode 1.0"},
    {1, "Unicode 1.1"},
    {2, "ISO/IEC 10646"},
    {3, "Unicode BMP"},
    {4, "Unicode フル"},
    {5, "異体字シーケンス"},
    {6, "Unicode フル (ラストリゾート)"},
};
// Macintosh script codes, with the Windows code page of each that has one.
struct MacScript {
    uint16_t value;
    const char* name;
    uint32_t codePage;
};
constexpr uint32_t kMacRoman = 10000;
constexpr MacScript kMacScripts[] = {
    {0, "Roman", kMacRoman},
    {1, "日本語", 10001},
    {2, "繁体字中国語", 10002},
    {3, "韓国語", 10003},
    {4, "アラビア語", 10004},
    {5, "ヘブライ語", 10005},
    {6, "ギリシャ語", 10006},
    {7, "ロシア語", 10007},
    {8, "RSymbol", 0},
    {9, "デーヴァナーガリー", 0},
    {10, "グルムキー", 0},
    {11, "グジャラート", 0},
    {12, "オリヤー", 0},
    {13, "ベンガル", 0},
    {14, "タミル", 0},
    {15, "テルグ", 0},
    {16, "カンナダ", 0},
    {17, "マラヤーラム", 0},
    {18, "シンハラ", 0},
    {19, "ビルマ", 0},
    {20, "クメール", 0},
    {21, "タイ語", 10021},
    {22, "ラオ", 0},
    {23, "グルジア", 0},
    {24, "アルメニア", 0},
    {25, "簡体字中国語", 10008},
    {26, "チベット", 0},
    {27, "モンゴル", 0},
    {28, "ゲエズ", 0},
    {29, "中欧", 10029},
    {30, "ベトナム語", 0},
    {31, "シンド", 0},
    {32, "解釈なし", 0},
};
constexpr Named kIsoEncodings[] = {{0, "ASCII"}, {1, "ISO 10646"}, {2, "ISO 8859-1"}};
constexpr Named kWindowsEncodings[] = {
    {0, "Symbol"}, {1, "Unicode BMP"}, {2, "ShiftJIS"}, {3, "PRC"},
    {4, "Big5"},   {5, "Wansung"},     {6, "Johab"},    {10, "Unicode フル"},
};

constexpr Named kWindowsLanguages[] = {
    {0x0401, "アラビア語 (サウジアラビア)"},
    {0x0404, "中国語 (台湾)"},
    {0x0405, "チェコ語"},
    {0x0406, "デンマーク語"},
    {0x0407, "ドイツ語 (ドイツ)"},
    {0x0408, "ギリシャ語"},
    {0x0409, "英語 (米国)"},
    {0x040B, "フィンランド語"},
    {0x040C, "フランス語 (フランス)"},
    {0x040D, "ヘブライ語"},
    {0x040E, "ハンガリー語"},
    {0x0410, "イタリア語 (イタリア)"},
    {0x0411, "日本語"},
    {0x0412, "韓国語"},
    {0x0413, "オランダ語 (オランダ)"},
    {0x0414, "ノルウェー語 (ブークモール)"},
    {0x0415, "ポーランド語"},
    {0x0416, "ポルトガル語 (ブラジル)"},
    {0x0419, "ロシア語"},
    {0x041D, "スウェーデン語 (スウェーデン)"},
    {0x041E, "タイ語"},
    {0x041F, "トルコ語"},
    {0x0421, "インドネシア語"},
    {0x042A, "ベトナム語"},
    {0x0439, "ヒンディー語"},
    {0x0804, "中国語 (中国)"},
    {0x0809, "英語 (英国)"},
    {0x080A, "スペイン語 (メキシコ)"},
    {0x0816, "ポルトガル語 (ポルトガル)"},
    {0x0C04, "中国語 (香港)"},
    {0x0C07, "ドイツ語 (オーストリア)"},
    {0x0C09, "英語 (オーストラリア)"},
    {0x0C0A, "スペイン語 (スペイン)"},
    {0x0C0C, "フランス語 (カナダ)"},
    {0x1004, "中国語 (シンガポール)"},
    {0x1009, "英語 (カナダ)"},
    {0x1404, "中国語 (マカオ)"},
};
constexpr Named kMacLanguages[] = {
    {0, "英語"},         {1, "フランス語"},       {2, "ドイツ語"},
    {3, "イタリア語"},   {4, "オランダ語"},       {5, "スウェーデン語"},
    {6, "スペイン語"},   {7, "デンマーク語"},     {8, "ポルトガル語"},
    {9, "ノルウェー語"}, {10, "ヘブライ語"},      {11, "日本語"},
    {12, "アラビア語"},  {13, "フィンランド語"},  {14, "ギリシャ語"},
    {17, "トルコ語"},    {19, "中国語 (繁体字)"}, {23, "韓国語"},
    {32, "ロシア語"},    {33, "中国語 (簡体字)"},
};

constexpr uint16_t kFirstLanguageTag = 0x8000;
constexpr uint32_t kLatin1 = 28591, kAscii = 20127;

const MacScript* macScript(uint16_t encodingID) {
    for (const MacScript& script : kMacScripts)
        if (script.value == encodingID)
            return &script;
    return nullptr;
}

const char* encodingName(uint16_t platformID, uint16_t encodingID) {
    switch (platformID) {
    case kUnicode:
        return lookUp(kUnicodeEncodings, encodingID);
    case kMacintosh: {
        const MacScript* script = macScript(encodingID);
        return script ? script->name : nullptr;
    }
    case kIso:
        return lookUp(kIsoEncodings, encodingID);
    case kWindows:
        return lookUp(kWindowsEncodings, encodingID);
    default:
        return nullptr;
    }
}

// A language tag is ASCII (BCP 47); anything else shows as '?'.
std::string tagText(const NameBytes& tag) {
    std::string text;
    for (char16_t unit : nameText(tag))
        text.push_back(unit >= 0x20 && unit < 0x7F ? static_cast<char>(unit) : '?');
    return text;
}

} // namespace

std::string nameIdText(uint16_t nameID) {
    return numbered(nameID, lookUp(kNameIds, nameID));
}

std::string platformEncodingText(uint16_t platformID, uint16_t encodingID) {
    return numbered(platformID, lookUp(kPlatforms, platformID)) + " / " +
           numbered(encodingID, encodingName(platformID, encodingID));
}

std::string languageText(const NamingTable& table, const NamingRecord& record) {
    char number[8];
    std::snprintf(number, sizeof number, "0x%04X", record.languageID);
    const char* name = nullptr;
    if (record.platformID == kWindows)
        name = lookUp(kWindowsLanguages, record.languageID);
    else if (record.platformID == kMacintosh)
        name = lookUp(kMacLanguages, record.languageID);
    std::string text = number;
    if (name != nullptr)
        return text + " " + name;
    const size_t tag = record.languageID - size_t{kFirstLanguageTag};
    if (table.format == 1 && record.languageID >= kFirstLanguageTag &&
        tag < table.languageTags.size())
        return text + " " + tagText(table.languageTags[tag]);
    return text;
}

uint32_t displayCodePage(const NamingRecord& record) {
    switch (record.platformID) {
    case kMacintosh: {
        const MacScript* script = macScript(record.encodingID);
        return script && script->codePage != 0 ? script->codePage : kMacRoman;
    }
    case kIso:
        return record.encodingID == 1 ? 0 : record.encodingID == 0 ? kAscii : kLatin1;
    case kUnicode:
    case kWindows:
        return 0;
    default:
        return kLatin1;
    }
}
