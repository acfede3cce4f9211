// Real fonts and collections edited through the panes, tables removed and
// names replaced, in one program: the plan that fonttools_write_out_check.py
// writes, whose every write-out the write rules judge here and fontTools and
// ots-sanitize read back there.
#include "tests/wine/program_windows.h"

namespace {

std::vector<std::string> fieldsOf(const std::string& line) { // split at tabs
    std::vector<std::string> fields;
    std::istringstream stream(line);
    for (std::string field; std::getline(stream, field, '\t');)
        fields.push_back(field);
    return fields;
}

// The tree path of font's item and a slash ("0: Name/"); nothing for a single font.
std::string fontItem(const std::string& font) {
    for (const std::string& path : treeTexts())
        if (!font.empty() && (path == font || path.rfind(font + ": ", 0) == 0))
            return path + "/";
    return "";
}

} // namespace

// The steps of plan.txt in FONTAB_WRITE_OUT_DIR, one a line, fields split by
// tabs: "open FILE FONT" (FONT empty for a single font's), then on that font
// "os2 WEIGHT WIDTH PANOSE" (trackbar positions and a PANOSE weight), "gasp
// PPEM" (the first range to that size, both flags), "spacing ALL V1..V8" (the
// line-spacing fields typed, "-" left alone, into every font when ALL is 1,
// and USE_TYPO_METRICS flipped where it can be), "remove FONT TAG" (with the
// tables that go with it; "!TAG" must be refused), "replace
// FIND WITH ALL" (UTF-8), and "write NAME" through the menu.
TEST(FontToolsWriteOut, PlanWithFileDialog) {
    const std::string folder = environment("FONTAB_WRITE_OUT_DIR");
    if (folder.empty())
        GTEST_SKIP() << "FONTAB_WRITE_OUT_DIR is not set; fonttools_write_out_check.py sets it";
    std::ifstream plan(std::filesystem::path(wide(folder + "\\plan.txt")));
    ASSERT_TRUE(plan.good());
    // Fonts are opened from a folder of that name (one the code page may not spell).
    Session session(environment("FONTAB_SESSION_FOLDER"));
    std::string font; // the font the steps go to; its item, as the tree names it now
    for (std::string line; std::getline(plan, line);) {
        SCOPED_TRACE(line);
        const std::vector<std::string> f = fieldsOf(line);
        auto number = [&f](size_t i) { return std::atoi(f.at(i).c_str()); };
        const std::string item = fontItem(font);
        if (f[0] == "open") {
            ASSERT_TRUE(session.open(readBytes(folder + "\\" + f.at(1)), "", f[1]));
            font = f.size() > 2 ? f[2] : "";
        } else if (f[0] == "os2") {
            ASSERT_TRUE(selectItem(item + "OS/2") && os2Object != nullptr);
            moveTrackbar(hWeightTrackbar, number(1), {TB_ENDTRACK});
            moveTrackbar(hWidthTrackbar, number(2), {TB_ENDTRACK});
            ASSERT_TRUE(chooseItem(hPanoseCombo, number(3)));
        } else if (f[0] == "gasp") {
            ASSERT_TRUE(selectItem(item + "gasp"));
            editRow(0, {answer({f.at(1).c_str(), IDC_GASP_PPEM, 1, 1})});
        } else if (f[0] == "spacing") {
            ASSERT_TRUE(selectItem(item + "hhea") && hMetricEdits[0] != nullptr);
            if (number(1) == 1)
                click(hAllFontsBox);
            for (size_t i = 0; i < hMetricEdits.size(); ++i)
                if (f.at(2 + i) != "-")
                    typeIntoField(hMetricEdits[i], f[2 + i]);
            if (IsWindowEnabled(hUseTypoMetricsBox))
                click(hUseTypoMetricsBox);
        } else if (f[0] == "remove") { // "!TAG": one whose removal must be refused
            const bool refused = f.at(2)[0] == '!';
            EXPECT_NE(otf->removeTable(f[2].c_str() + refused, static_cast<size_t>(number(1))),
                      refused);
        } else if (f[0] == "replace") {
            ASSERT_TRUE(selectItem(item + "name"));
            replace(wide(f.at(1)), wide(f.at(2)), number(3) == 1);
        } else {
            ASSERT_EQ(f[0], "write");
            const std::string out = folder + "\\" + f.at(1);
            ModalAnswerer answerer({chooseFile(out)});
            session.program.command(IDM_WRITE);
            pumpMessages();
            EXPECT_EQ(answerer.answered(), 1);
            EXPECT_EQ(brokenWrite(session.font, readBytes(out)), "");
        }
    }
}
