// The line-spacing pane on the real program: what it shows of each font, a
// field stored when left, refused text restored, the clipping warning, a
// collection's fonts changed at once, and what each write-out holds.
#include "tests/wine/program_windows.h"

namespace {

const char kClips[] = "usWinAscent/usWinDescent が字形の範囲より小さいため、"
                      "Windows では字形の上下が欠けることがあります。";
const char kSample[] = "Z:" FONTAB_SOURCE_DIR "/tests/fixtures/sample.ttf";
const char kIpaGothic[] = "Z:/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";
enum Field { ascender, descender, lineGap, typoAscender, typoDescender, typoLineGap, winAscent };

// "unitsPerEm yMax yMin|fields|enabled fields|USE_TYPO_METRICS checked, enabled|
// the three line heights|warning".
std::string paneState() {
    std::string fields, enabled;
    for (HWND edit : hMetricEdits) {
        fields += (fields.empty() ? "" : ",") + windowText(edit);
        enabled += IsWindowEnabled(edit) ? "1" : "0";
    }
    std::string state = windowText(hUnitsPerEmText) + " " + windowText(hYMaxText) + " " +
                        windowText(hYMinText) + "|" + fields + "|" + enabled + "|" +
                        (SendMessageW(hUseTypoMetricsBox, BM_GETCHECK, 0, 0) ? "1" : "0") +
                        (IsWindowEnabled(hUseTypoMetricsBox) ? "e" : "d");
    for (HWND height : hLineHeightTexts)
        state += "|" + windowText(height);
    return state + "|" + windowText(hClipWarning);
}

std::vector<HWND> paneChildren(const char* windowClass) { // in the order they were created
    std::vector<HWND> children;
    for (HWND child = GetWindow(hPane, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (lstrcmpiA(className(child).c_str(), windowClass) == 0)
            children.push_back(child);
    return children;
}

} // namespace

// OS/2 version 4 (the sample font) and 3 (IPA Gothic, whose win metrics as
// read cut glyphs off), no OS/2 and a refused one; a short hhea has no pane.
TEST(LineSpacingPane, ShowsTheReferenceTheThreeSetsAndTheirLineHeights) {
    Bytes hhea35 = hheaTable(900, -300, 50), head = headTable();
    hhea35.resize(35);
    putU16(head, kHeadYMinAt, 0xFE70); // -400
    putU16(head, kHeadYMaxAt, 1200);
    auto font = [&head](const Bytes& hhea, std::optional<Bytes> os2) {
        SfntBuilder builder;
        builder.table("head", head).table("hhea", hhea);
        return os2 ? builder.table("OS/2", *os2).build() : builder.build();
    };
    const std::pair<Bytes, std::string> cases[] = {
        {readBytes(kSample), "1000 821 0|880,-120,0,880,-120,0,880,120|11111111|0e|"
                             "1000 (1.000 em)|1000 (1.000 em)|1000 (1.000 em)|"},
        {font(hheaTable(900, -300, 50), std::nullopt),
         "1000 1200 -400|900,-300,50,,,,,|11100000|0d|1250 (1.250 em)|||"},
        {font(hheaTable(900, -300, 50), os2Table(6, 100)),
         "1000 1200 -400|900,-300,50,,,,,|11100000|0d|1250 (1.250 em)|||"},
        {font(hhea35, os2Table(4)), ""}, // the placeholder
        {readBytes(kIpaGothic), "2048 1905 -571|1802,-246,0,1802,-246,0,1802,401|11111111|0d|"
                                "2048 (1.000 em)|2048 (1.000 em)|2203 (1.076 em)|" +
                                    std::string(kClips)},
    };
    for (const auto& [bytes, shown] : cases) {
        SCOPED_TRACE(shown);
        ASSERT_FALSE(bytes.empty()) << "cannot read a font: scripts/setup installs "
                                       "fonts-ipafont-gothic";
        Session pane;
        ASSERT_TRUE(pane.open(bytes, "hhea"));
        EXPECT_EQ(paneClasses(),
                  std::vector<std::string>{shown.empty() ? kPlaceholderPaneClass : kHheaPaneClass});
        if (shown.empty())
            continue;
        EXPECT_EQ(paneState(), shown);
        EXPECT_EQ(paneChildren("Edit"),
                  std::vector<HWND>(hMetricEdits.begin(), hMetricEdits.end()));
        EXPECT_EQ(paneChildren("Button"), std::vector<HWND>{hUseTypoMetricsBox});
    }
}

// A user's sequence on the sample font: every field typed and left (lineGap
// by Enter), refused text, USE_TYPO_METRICS, a new pane, a value typed and
// written out at once; then every value set back, written out as read.
TEST(LineSpacingPane, StoresAFieldWhenLeftRestoresRefusedTextAndSetBackIsAsReadWithFileDialog) {
    Session session;
    const Bytes sample = readBytes(kSample);
    ASSERT_TRUE(session.open(sample, "hhea"));
    const std::vector<std::string> typed = {"950", "-250", "60", "900", "-300", "40", "800", "330"};
    for (size_t i = 0; i < typed.size(); ++i) {
        SetFocus(hMetricEdits[i]);
        setText(hMetricEdits[i], typed[i]);
        if (i == lineGap) // left by Enter; the others for the tree
            PostMessageW(hMetricEdits[i], WM_KEYDOWN, VK_RETURN, 1);
        else
            SetFocus(hTreeView);
        pumpMessages();
        EXPECT_EQ(lineMetric(*otf, 0, lineMetricFields[i].metric), std::stoi(typed[i]));
    }
    auto edited = [](const char* box) {
        return "1000 821 0|950,-250,60,900,-300,40,800,330|11111111|" + std::string(box) +
               "|1260 (1.260 em)|1240 (1.240 em)|1130 (1.130 em)|" + kClips;
    };
    EXPECT_EQ(paneState(), edited("0e"));
    // clang-format off
    const std::pair<Field, const char*> refused[] = {{ascender, "32768"}, {ascender, "-32769"},
        {typoLineGap, "abc"}, {descender, ""}, {lineGap, "1.5"}, {winAscent, "-1"}, {winAscent, "65536"}};
    // clang-format on
    for (const auto& [field, text] : refused) {
        typeIntoField(hMetricEdits[field], text);
        EXPECT_EQ(windowText(hMetricEdits[field]), typed[field]) << text;
    }
    EXPECT_EQ(paneState(), edited("0e"));
    click(hUseTypoMetricsBox);
    ASSERT_TRUE(selectItem("head") && selectItem("hhea"));
    EXPECT_EQ(paneState(), edited("1e"));
    // Typed and not left: what every reader of the font asks for first stores
    // it, so it is written out from the menu at once; the warning goes.
    SetFocus(hMetricEdits[winAscent]);
    setText(hMetricEdits[winAscent], "821");
    storePaneEdits();
    EXPECT_EQ(lineMetric(*otf, 0, LineMetric::usWinAscent), 821);
    const Bytes out = session.writeOut();
    EXPECT_EQ(windowText(hClipWarning), "");
    // Where each stored value goes in the file: the native LineSpacing cases.
    ASSERT_EQ(out.size(), sample.size());
    EXPECT_EQ(brokenWrite(sample, out), "");
    EXPECT_NE(out, sample);

    const std::vector<std::string> asRead = {"880", "-120", "0", "880", "-120", "0", "880", "120"};
    for (size_t i = 0; i < asRead.size(); ++i)
        typeIntoField(hMetricEdits[i], asRead[i]);
    click(hUseTypoMetricsBox);
    EXPECT_EQ(session.writeOut("back.ttf"), sample);
}

// Three fonts: hhea A and OS/2 version 4 shared by fonts 0 and 2, font 1's own
// hhea B and OS/2 version 3. "全てのフォントに適用" changes each table once,
// in every font that has it; set back, nothing is left unsaved.
TEST(LineSpacingPane, InACollectionAppliesToEveryFontAndSaysHowMany) {
    Bytes os2a = os2Table(4), os2b = os2Table(3);
    putU16(os2a, kOS2FsSelectionAt, 0x0040);
    putU16(os2b, kOS2FsSelectionAt, 0x0040);
    const Bytes file = CollectionBuilder()
                           .table("hheaA", "hhea", hheaTable(800, -200, 0))
                           .table("hheaB", "hhea", hheaTable(700, -300, 0))
                           .table("os2a", "OS/2", os2a)
                           .table("os2b", "OS/2", os2b)
                           .table("head0", "head", headTable())
                           .table("head1", "head", headTable())
                           .font({"hheaA", "os2a", "head0"})
                           .font({"hheaB", "os2b", "head1"})
                           .font({"hheaA", "os2a", "head0"})
                           .build();
    Session session;
    ASSERT_TRUE(session.open(file, "1/hhea", "fonts.ttc"));
    EXPECT_EQ(paneChildren("Button"), std::vector<HWND>({hUseTypoMetricsBox, hAllFontsBox}));
    EXPECT_FALSE(IsWindowEnabled(hUseTypoMetricsBox)) << "font 1's OS/2 is of version 3";
    auto inEveryFont = [](LineMetric metric) {
        std::vector<int32_t> values;
        for (size_t font = 0; font < 3; ++font)
            values.push_back(lineMetric(*otf, font, metric).value_or(-99999));
        return values;
    };
    const int32_t winAscentAsRead = lineMetric(*otf, 0, LineMetric::usWinAscent).value_or(0);
    click(hAllFontsBox);
    typeIntoField(hMetricEdits[lineGap], "77");
    EXPECT_EQ(statusText(), "3 個のフォントに適用しました。");
    typeIntoField(hMetricEdits[winAscent], "1234");
    EXPECT_EQ(inEveryFont(LineMetric::lineGap), std::vector<int32_t>({77, 77, 77}));
    EXPECT_EQ(inEveryFont(LineMetric::usWinAscent), std::vector<int32_t>({1234, 1234, 1234}));

    ASSERT_TRUE(selectItem("0/hhea"));
    click(hAllFontsBox);
    click(hUseTypoMetricsBox);
    EXPECT_EQ(statusText(), "2 個のフォントに適用しました。") << "only version 4 has the bit";
    click(hAllFontsBox);
    typeIntoField(hMetricEdits[lineGap], "55"); // fonts 0 and 2 only
    EXPECT_EQ(inEveryFont(LineMetric::lineGap), std::vector<int32_t>({55, 77, 55}));
    click(hAllFontsBox);
    typeIntoField(hMetricEdits[lineGap], "0");
    typeIntoField(hMetricEdits[winAscent], std::to_string(winAscentAsRead));
    click(hUseTypoMetricsBox);
    EXPECT_EQ(statusText(), "2 個のフォントに適用しました。");
    EXPECT_EQ(windowText(session.program.handle()), "fontab - Tablesmith") << "as read";
}
