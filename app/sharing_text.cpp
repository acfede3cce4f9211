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

std::string removalQuestion(const char* tag, const std::vector<size_t>& fonts) {
    const std::string table = std::string("テーブル ") + tag;
    const std::string question = fonts.size() < 2
                                     ? table + " を削除しますか？"
                                     : table + " はフォント " + fontNumbers(fonts) +
                                           " が共有しています。全てのフォントから削除しますか？";
    return question + "\n元に戻すことはできません。ファイルを開き直すと元どおりになります。";
}
