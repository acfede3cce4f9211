// The line-spacing pane on the real program: what it shows of each font, a
// field stored when left, refused text restored, the clipping warning, a
// collection's fonts changed at once, and what each write-out holds; its
// preview as Windows itself creates and measures the font.
#include "tests/wine/program_windows.h"

#include "tables/hhea/line_preview.h"
#include "tables/name/name_edit.h"

namespace {

const char kClips[] = "usWinAscent/usWinDescent が字形の範囲より小さいため、"
                      "Windows では字形の上下が欠けることがあります。";
const char kSample[] = "Z:" FONTAB_SOURCE_DIR "/tests/fixtures/sample.ttf";
const char kIpaGothic[] = "Z:/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";
const char kNotoSansCjk[] = "Z:/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc";
enum Field {
    ascender,
    descender,
    lineGap,
    typoAscender,
    typoDescender,
    typoLineGap,
    winAscent,
    winDescent
};

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

// The pane's windows of a class, its preview's included, in creation order.
std::vector<HWND> paneChildren(const char* windowClass) {
    std::vector<HWND> children;
    std::function<void(HWND)> walk = [&](HWND parent) {
        for (HWND child = GetWindow(parent, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT)) {
            if (lstrcmpiA(className(child).c_str(), windowClass) == 0)
                children.push_back(child);
            walk(child);
        }
    };
    walk(hPane);
    return children;
}

// The offset of a single font's table tagged tag, from its directory's bytes.
size_t tableAt(const Bytes& file, const char* tag) {
    for (size_t i = 0; i < getU16(file, 4); ++i)
        if (std::equal(tag, tag + 4, file.begin() + recordAt(i)))
            return getU32(file, recordAt(i) + 8);
    return file.size();
}

// Pumps messages until the preview has drawn the last change, as a user
// who waits a moment sees it.
void waitForPreview() {
    for (int i = 0; i < 500 && linePreviewPending(); ++i) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        pumpMessages();
    }
    EXPECT_FALSE(linePreviewPending()) << "the preview never caught up";
}

// The preview's numbers under the GDI column, each shown as "NAME NUMBER";
// empty when one is missing.
std::vector<int> previewNumbers() {
    waitForPreview();
    const char* names[] = {"tmAscent ", "tmDescent ", "tmInternalLeading ", "tmExternalLeading ",
                           "tmHeight "};
    std::vector<int> numbers;
    for (size_t i = 0; i < std::size(names); ++i) {
        const std::string text = windowText(hPreviewNumbers[i]);
        if (text.rfind(names[i], 0) != 0)
            return {};
        numbers.push_back(std::stoi(text.substr(std::strlen(names[i]))));
    }
    return numbers;
}

// What Windows made of the preview's font: the face it selected, the face
// asked for, its full name (otmpFaceName) and whether it holds table tag.
struct Created {
    std::wstring face, asked, fullName;
    bool hasTable = false;
};
Created createdPreviewFont(const char* tag = "gasp") {
    waitForPreview();
    Created created;
    LOGFONTW asked = {};
    if (hPreviewFont == nullptr || !GetObjectW(hPreviewFont, sizeof asked, &asked))
        return created;
    created.asked = asked.lfFaceName;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, hPreviewFont);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    created.face = face;
    std::vector<uint8_t> metrics(GetOutlineTextMetricsW(dc, 0, nullptr));
    auto* outline = reinterpret_cast<OUTLINETEXTMETRICW*>(metrics.data());
    if (!metrics.empty() && GetOutlineTextMetricsW(dc, static_cast<UINT>(metrics.size()), outline))
        created.fullName = reinterpret_cast<const wchar_t*>(
            metrics.data() + reinterpret_cast<uintptr_t>(outline->otmpFaceName));
    const DWORD tagValue = static_cast<DWORD>(tag[0] | tag[1] << 8 | tag[2] << 16 | tag[3] << 24);
    created.hasTable = GetFontData(dc, tagValue, 0, nullptr, 0) != GDI_ERROR;
    SelectObject(dc, old);
    DeleteDC(dc);
    return created;
}

// Whether a font of this face name can still be created.
bool faceExists(const std::wstring& name) {
    HFONT font =
        CreateFontW(-36, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, name.c_str());
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(font);
    return name == face;
}

// Whether this Windows removes a font added from memory: font's family,
// "fontab Sample", is found while it is added, and no longer once removed.
bool removesPrivateFonts(Bytes font) {
    DWORD count = 0;
    HANDLE added =
        AddFontMemResourceEx(font.data(), static_cast<DWORD>(font.size()), nullptr, &count);
    const bool found = faceExists(L"fontab Sample");
    return added != nullptr && found && RemoveFontMemResourceEx(added) &&
           !faceExists(L"fontab Sample");
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
        std::vector<HWND> edits(hMetricEdits.begin(), hMetricEdits.end());
        edits.push_back(hSampleEdit); // the preview's sample comes after the eight
        EXPECT_EQ(paneChildren("Edit"), edits);
        EXPECT_EQ(paneChildren("Button"), std::vector<HWND>{hUseTypoMetricsBox});
        // The preview has a size of its own: each of its controls shows whole.
        RECT preview = {};
        GetClientRect(GetParent(hSampleEdit), &preview);
        for (HWND child = GetWindow(GetParent(hSampleEdit), GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            const RECT place = rectInParent(child);
            EXPECT_TRUE(place.left >= 0 && place.top >= 0 && place.right <= preview.right &&
                        place.bottom <= preview.bottom)
                << windowText(child) << " ends at " << place.right << "," << place.bottom;
        }
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

// IPA Gothic as a user widens its win metrics: Windows' own numbers follow
// the values typed and come back with them; then with a table removed and
// the family renamed, not yet written, the preview shows exactly that file
// under its private name.
TEST(LinePreview, FollowsTheWinMetricsTypedAndThePendingRemovalAndRename) {
    const Bytes ipa = readBytes(kIpaGothic);
    ASSERT_FALSE(ipa.empty()) << kIpaGothic
                              << " is missing: scripts/setup installs fonts-ipafont-gothic";
    Session session;
    ASSERT_TRUE(session.open(ipa, "hhea"));
    const double unitsPerEm = getU16(ipa, tableAt(ipa, "head") + 18);
    const size_t os2 = tableAt(ipa, "OS/2");
    const std::vector<int> first = previewNumbers();
    ASSERT_EQ(first.size(), 5u);
    EXPECT_NEAR(first[0], getU16(ipa, os2 + 74) * 36 / unitsPerEm, 1.0);
    EXPECT_NEAR(first[1], getU16(ipa, os2 + 76) * 36 / unitsPerEm, 1.0);
    EXPECT_EQ(first[4], first[0] + first[1]);
    Created created = createdPreviewFont();
    EXPECT_EQ(created.face, created.asked) << "Windows answered with another font";
    EXPECT_EQ(created.fullName.find(L"IPA"), 0u);
    EXPECT_TRUE(created.hasTable);

    typeIntoField(hMetricEdits[winAscent], "2000");
    typeIntoField(hMetricEdits[winDescent], "600");
    for (int size : {36, 48, 16}) {
        ASSERT_TRUE(chooseItem(hPreviewSizeList, size));
        pumpMessages();
        const std::vector<int> widened = previewNumbers();
        ASSERT_EQ(widened.size(), 5u);
        EXPECT_NEAR(widened[0], 2000 * size / unitsPerEm, 1.0) << size;
        EXPECT_NEAR(widened[1], 600 * size / unitsPerEm, 1.0) << size;
    }
    ASSERT_TRUE(chooseItem(hPreviewSizeList, 36));
    typeIntoField(hMetricEdits[winAscent], std::to_string(getU16(ipa, os2 + 74)));
    typeIntoField(hMetricEdits[winDescent], std::to_string(getU16(ipa, os2 + 76)));
    EXPECT_EQ(previewNumbers(), first);

    ASSERT_TRUE(otf->removeTable("gasp", 0));
    NameReplacement tally;
    NamingTable& name = *otf->tableOf<NamingTable>("name");
    replaceInNames(name, u"IPAGothic", u"IPAGothicZ", tally);
    replaceInNames(name, u"IPAゴシック", u"IPAゴシックZ", tally);
    ASSERT_TRUE(selectItem("cmap") && selectItem("hhea"));
    EXPECT_EQ(previewNumbers(), first);
    created = createdPreviewFont();
    EXPECT_EQ(created.face, created.asked);
    EXPECT_TRUE(created.fullName == L"IPAGothicZ" || created.fullName == L"IPAゴシックZ")
        << "the renamed full name";
    EXPECT_FALSE(created.hasTable) << "the removed gasp";
    // That the copy leaves the open font and its write-out as they were: the
    // native Layout case of the preview copy.
}

// Each font of a collection is previewed as itself.
TEST(LinePreview, FollowsTheSelectedFontOfACollection) {
    const Bytes noto = readBytes(kNotoSansCjk);
    ASSERT_FALSE(noto.empty()) << kNotoSansCjk
                               << " is missing: scripts/setup installs fonts-noto-cjk";
    Session session;
    ASSERT_TRUE(session.open(noto, "", "noto.ttc"));
    for (auto [item, fullName] :
         {std::pair{"2: Noto Sans CJK SC/hhea", L"Noto Sans CJK SC"},
          std::pair{"7: Noto Sans Mono CJK SC/hhea", L"Noto Sans Mono CJK SC"}}) {
        ASSERT_TRUE(selectItem(item));
        const Created created = createdPreviewFont();
        EXPECT_EQ(created.fullName, fullName);
        EXPECT_EQ(created.face, created.asked);
        const std::vector<int> numbers = previewNumbers();
        ASSERT_EQ(numbers.size(), 5u);
        EXPECT_NEAR(numbers[0], 1160 * 36 / 1000.0, 1.0); // usWinAscent 1160 of 1000 units
    }
}

// The pane opened and closed 50 times leaves no preview font and no GDI
// object behind; a font Windows refuses shows one line, and the pane works on.
TEST(LinePreview, LeavesNoFontBehindAndSaysWhenWindowsRefusesTheFont) {
    Session session;
    Bytes sample = readBytes(kSample);
    ASSERT_TRUE(session.open(sample, "head"));
    const DWORD gdiObjects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    std::vector<std::wstring> faces;
    std::vector<HFONT> fonts;
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(selectItem("hhea"));
        faces.push_back(createdPreviewFont().asked);
        fonts.push_back(hPreviewFont);
        ASSERT_TRUE(selectItem("head"));
    }
    for (HFONT font : fonts)
        EXPECT_EQ(GetObjectType(font), 0u) << "a preview's font left behind";
    if (gdiObjects == 0)
        std::printf("GetGuiResources gives no GDI count here (Wine): each font was checked\n");
    EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiObjects);
    // Wine's RemoveFontMemResourceEx is a stub: its private fonts stay.
    if (!removesPrivateFonts(sample))
        std::printf("skipped: this Windows never removes a private font (Wine's "
                    "RemoveFontMemResourceEx is a stub), so that check runs on Windows only\n");
    else
        for (const std::wstring& face : faces)
            EXPECT_FALSE(face.empty() || faceExists(face)) << "a private font left behind";

    // Without its OS/2 table no Windows takes the font.
    for (size_t i = 0; i < getU16(sample, 4); ++i)
        if (std::equal(sample.begin() + recordAt(i), sample.begin() + recordAt(i) + 4, "OS/2"))
            sample[recordAt(i) + 3] = 'X';
    ASSERT_TRUE(session.open(sample, "hhea", "refused.ttf"));
    waitForPreview();
    EXPECT_TRUE(IsWindowVisible(hPreviewMessage));
    EXPECT_EQ(windowText(hPreviewMessage), "このフォントは Windows で表示できません。");
    EXPECT_EQ(hPreviewFont, nullptr);
    EXPECT_EQ(previewNumbers(), std::vector<int>{});
    typeIntoField(hMetricEdits[lineGap], "90");
    EXPECT_EQ(lineMetric(*otf, 0, LineMetric::lineGap), 90);
}
