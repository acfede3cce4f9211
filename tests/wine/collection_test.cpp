// A font collection in the program: its tree, a table shared by fonts edited
// through one and seen through the others, the status text, the write-out.
#include "tests/wine/program_windows.h"

namespace {

const char kAll[] = "この表はフォント 0, 1, 2 が共有しています。";
const char kFonts02[] = "この表はフォント 0, 2 が共有しています。";

} // namespace

TEST(Collection, FontsByNameTheirTablesAndEditsSeenThroughEveryFontSharingThemWithFileDialog) {
    Session session;
    ASSERT_TRUE(session.open(sampleCollection(), "", "sample.ttc"));
    const std::string f0 = "0: ゴシック", f1 = "1: Sample Mincho", f2 = "2";
    std::vector<std::string> expected = {"sample.ttc"};
    for (const std::string& font : {f0, f1, f2})
        for (const char* tag : {"", "/head", "/name", "/OS/2", "/gasp"})
            expected.push_back(font + tag);
    EXPECT_EQ(treeTexts(), expected);
    EXPECT_EQ(treeRelative(TVGN_CARET), nullptr) << "nothing selected after a load";
    EXPECT_EQ(SendMessageW(hTreeView, TVM_GETITEMSTATE,
                           reinterpret_cast<WPARAM>(treeRelative(TVGN_ROOT)), TVIS_EXPANDED),
              0);

    const std::tuple<std::string, const char*, const char*> selections[] = {
        {f1 + "/gasp", kGaspPaneClass, kAll},    {"sample.ttc", kPlaceholderPaneClass, ""},
        {f2 + "/OS/2", kOS2PaneClass, kFonts02}, {f1, kPlaceholderPaneClass, ""},
        {f1 + "/OS/2", kOS2PaneClass, ""},       {f0 + "/head", kPlaceholderPaneClass, ""},
    };
    for (const auto& [path, paneClass, status] : selections) {
        ASSERT_TRUE(selectItem(path)) << path;
        EXPECT_EQ(paneClasses(), std::vector<std::string>{paneClass}) << path;
        EXPECT_EQ(statusText(), status) << path;
    }

    // Through font 1: the shared gasp's first range, 8 ppem, becomes 9 with both flags.
    ASSERT_TRUE(selectItem(f1 + "/gasp"));
    editRow(0, {answer({"9", IDC_GASP_PPEM, 1, 1})});
    ASSERT_TRUE(selectItem(f2 + "/OS/2"));
    moveTrackbar(hWeightTrackbar, 9, {TB_ENDTRACK});
    for (const std::string& font : {f0, f2}) {
        ASSERT_TRUE(selectItem(font + "/gasp"));
        EXPECT_EQ(cellText(hGaspList, 0, 0), "9") << font;
        ASSERT_TRUE(selectItem(font + "/OS/2"));
        EXPECT_EQ(windowText(hWeightName), "Black") << font;
    }
    ASSERT_TRUE(selectItem(f1 + "/OS/2"));
    EXPECT_EQ(windowText(hWeightName), "Medium") << "font 1's own OS/2";

    // Written out under a name without extension: a collection gets .ttc. What
    // an edit through one font writes: the native Collection cases.
    EXPECT_EQ(session.writeOut("out"), Bytes{});
    EXPECT_EQ(brokenWrite(session.font, readBytes(session.folder.file("out.ttc"))), "");
}
