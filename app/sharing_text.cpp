#include "app/sharing_text.h"

namespace {

std::string fontNumbers(const std::vector<size_t>& fonts) { // "0, 1, 2"
    std::string list;
    for (size_t font : fonts)
        list += (list.empty() ? "" : ", ") + std::to_string(font);
    return list;
}

} // namespace

std::string sharingNotice(const std::vector<size_t>& fonts) {
    if (fonts.size() < 2)
        return "";
    return "この表はフォント " + fontNumbers(fonts) + " が共有しています。";
}

std::string removalQuestion(const char* tag, const std::vector<size_t>& fonts,
                            const std::vector<std::string>& also) {
    const std::string table = std::string("テーブル ") + tag;
    const std::string question = fonts.size() < 2
                                     ? table + " を削除しますか？"
                                     : table + " はフォント " + fontNumbers(fonts) +
                                           " が共有しています。全てのフォントから削除しますか？";
    std::string together;
    for (const std::string& other : also)
        together += (together.empty() ? "\nテーブル " : ", ") + other;
    if (!together.empty())
        together += " はこのテーブルがないと使えないため、一緒に削除します。";
    return question + together +
           "\n元に戻すことはできません。ファイルを開き直すと元どおりになります。";
}

std::string removalRefusal(const std::string& neededBy) {
    return "このテーブルは削除できません。\nテーブル " + neededBy +
           " がこのテーブルを必要としています。";
}
