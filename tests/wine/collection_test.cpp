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
    EXPECT_EQ(SendMessageA(hTreeView, TVM_GETITEMSTATE,
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
        char text[16] = {};
        ListView_GetItemText(hGaspList, 0, 0, text, sizeof text);
        EXPECT_STREQ(text, "9") << font;
        ASSERT_TRUE(selectItem(font + "/OS/2"));
        EXPECT_EQ(windowText(hWeightName), "Black") << font;
    }
    ASSERT_TRUE(selectItem(f1 + "/OS/2"));
    EXPECT_EQ(windowText(hWeightName), "Medium") << "font 1's own OS/2";

    // Written out under a name without extension: a collection gets .ttc.
    EXPECT_EQ(session.writeOut("out"), Bytes{});
    const Bytes out = readBytes(session.folder.file("out.ttc"));
    ASSERT_EQ(out.size(), session.font.size());
    EXPECT_EQ(strayWrite(session.font, out), std::nullopt);
    const size_t gaspAt = getU32(out, 24 + 12 + 16 + 8), os2At = getU32(out, 24 + 12 + 8);
    EXPECT_EQ(std::vector<int>({getU16(out, gaspAt + 4), getU16(out, gaspAt + 6),
                                getU16(out, os2At + kOS2WeightAt)}),
              std::vector<int>({9, 3, 900}));
}

// Run by fonttools_write_out_check.py, which copies a real font or collection
// to FONTAB_FILE ("in." and its extension) in FONTAB_WRITE_OUT_DIR and reads
// what this writes there as "out.": through font FONTAB_FONT of a collection
// (empty: the file's one font), the trackbars to FONTAB_WEIGHT_POSITION and
// FONTAB_WIDTH_POSITION, the PANOSE weight FONTAB_PANOSE_WEIGHT, when
// FONTAB_LINE_METRICS is not empty its eight values ("-": left alone) typed
// into the line-spacing fields, for every font when FONTAB_ALL_FONTS is not
// empty, and USE_TYPO_METRICS flipped where it can be; and, when
// FONTAB_GASP_PPEM is not 0, the first gasp range to that size, both flags.
TEST(FontToolsWriteOut, ThroughOneFontWithFileDialog) {
    const char* folder = std::getenv("FONTAB_WRITE_OUT_DIR");
    if (folder == nullptr || *folder == '\0')
        GTEST_SKIP() << "FONTAB_WRITE_OUT_DIR is not set; fonttools_write_out_check.py sets it";
    const std::string file = std::getenv("FONTAB_FILE"), font = std::getenv("FONTAB_FONT");
    Session session;
    ASSERT_TRUE(session.open(readBytes(std::string(folder) + "\\" + file), "", file));
    std::string item; // the font item's path and a slash; nothing for a single font
    for (const std::string& path : treeTexts())
        if (!font.empty() && item.empty() && (path == font || path.rfind(font + ": ", 0) == 0))
            item = path + "/";
    ASSERT_TRUE(selectItem(item + "OS/2") && os2Object != nullptr) << item;
    auto number = [](const char* name) { return std::atoi(std::getenv(name)); };
    moveTrackbar(hWeightTrackbar, number("FONTAB_WEIGHT_POSITION"), {TB_ENDTRACK});
    moveTrackbar(hWidthTrackbar, number("FONTAB_WIDTH_POSITION"), {TB_ENDTRACK});
    ASSERT_TRUE(chooseItem(hPanoseCombo, number("FONTAB_PANOSE_WEIGHT")));
    if (std::istringstream metrics(std::getenv("FONTAB_LINE_METRICS")); !metrics.str().empty()) {
        ASSERT_TRUE(selectItem(item + "hhea") && hMetricEdits[0] != nullptr);
        if (*std::getenv("FONTAB_ALL_FONTS") != '\0') {
            ASSERT_NE(hAllFontsBox, nullptr);
            click(hAllFontsBox);
        }
        std::string value;
        for (HWND field : hMetricEdits)
            if (metrics >> value && value != "-")
                typeIntoField(field, value);
        if (IsWindowEnabled(hUseTypoMetricsBox))
            click(hUseTypoMetricsBox);
    }
    if (std::string size = std::getenv("FONTAB_GASP_PPEM"); size != "0") {
        ASSERT_TRUE(selectItem(item + "gasp"));
        editRow(0, {answer({size.c_str(), IDC_GASP_PPEM, 1, 1})});
    }
    ModalAnswerer answerer(
        {chooseFile(std::string(folder) + "\\out" + file.substr(file.find('.')))});
    session.program.command(IDM_WRITE);
    pumpMessages();
    EXPECT_EQ(answerer.answered(), 1);
}

// For fonttools_write_out_check.py: the tables FONTAB_REMOVE names
// ("FONT:TAG;FONT:TAG...", a single font's number 0) removed, then written
// out through the menu to out.EXT: re-laid.
TEST(FontToolsWriteOut, RemovingTablesWithFileDialog) {
    const char* folder = std::getenv("FONTAB_WRITE_OUT_DIR");
    if (folder == nullptr || *folder == '\0')
        GTEST_SKIP() << "FONTAB_WRITE_OUT_DIR is not set; fonttools_write_out_check.py sets it";
    const std::string file = std::getenv("FONTAB_FILE"), removals = std::getenv("FONTAB_REMOVE");
    Session session;
    ASSERT_TRUE(session.open(readBytes(std::string(folder) + "\\" + file), "", file));
    for (size_t at = 0; at < removals.size();) {
        const size_t colon = removals.find(':', at), end = removals.find(';', at);
        const std::string tag =
            removals.substr(colon + 1, end == std::string::npos ? end : end - colon - 1);
        EXPECT_TRUE(otf->removeTable(tag.c_str(), std::stoul(removals.substr(at, colon - at))))
            << removals.substr(at);
        at = end == std::string::npos ? removals.size() : end + 1;
    }
    ModalAnswerer answerer(
        {chooseFile(std::string(folder) + "\\out" + file.substr(file.find('.')))});
    session.program.command(IDM_WRITE);
    pumpMessages();
    EXPECT_EQ(answerer.answered(), 1);
}
