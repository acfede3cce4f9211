// A real font through the whole program: opened from the command line, edited
// in the OS/2 pane, written out through the save dialog. Run by
// os2_end_to_end.py, which prepares the folder and checks the output with
// fontTools.
#include "app/base_window.h"
#include "app/command_ids.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "tests/wine/os2_pane_probe.h"
#include "tests/wine/program_windows.h"
#include "tests/wine/wine_test_files.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::wstring wide(const std::string& text) {
    int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring result(static_cast<size_t>(size > 0 ? size : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, result.data(), size);
    result.resize(result.size() - 1);
    return result;
}

} // namespace

TEST(OS2EndToEnd, RealFontIsEditedAndWrittenOut) {
    const std::string folder = environment("FONTAB_E2E_DIR");
    const int weightPosition = std::atoi(environment("FONTAB_E2E_WEIGHT_POSITION").c_str());
    const int panoseWeight = std::atoi(environment("FONTAB_E2E_PANOSE_WEIGHT").c_str());
    if (folder.empty())
        GTEST_SKIP() << "run by tests/wine/os2_end_to_end.py, which names the folder with the "
                        "font in FONTAB_E2E_DIR and checks the result with fontTools";
    ASSERT_GE(weightPosition, 1);
    ASSERT_LE(weightPosition, 9);
    ASSERT_GE(panoseWeight, 0);
    ASSERT_LE(panoseWeight, 11);
    const std::string in = folder + "\\in.ttf";
    const std::string out = folder + "\\out.ttf";
    const Bytes input = readBytes(in);
    ASSERT_FALSE(input.empty()) << in;

    // The font arrives as the program's one argument, the way WinMain passes it on.
    const std::wstring argument = wide(in);
    const wchar_t* argv[] = {L"fontab.exe", argument.c_str()};
    std::optional<std::string> path = startupPath(2, argv);
    ASSERT_TRUE(path.has_value());
    ProgramWindow program;
    PostMessageA(program.handle(), WM_COMMAND, kCmdLoadFont,
                 reinterpret_cast<LPARAM>(path->c_str()));
    pumpMessages();
    ASSERT_NE(otf, nullptr) << "the font did not open";
    ASSERT_TRUE(selectItem(hTreeView, "OS/2"));
    pumpMessages();
    OS2PaneControls controls = currentOS2Pane();
    ASSERT_EQ(controls.children.size(), kOS2PaneControlCount);
    uint32_t os2At = tableOffset(input, "OS/2");
    ASSERT_NE(os2At, 0u);
    OS2PaneView view = readOS2Pane(controls);
    EXPECT_EQ(view.weightPosition, getU16(input, os2At + kOS2WeightAt) / 100);
    EXPECT_EQ(view.panose, input[os2At + kOS2PanoseAt + 2]);

    moveTrackbar(controls.pane, controls.weightTrackbar(), weightPosition);
    ASSERT_TRUE(chooseListItem(controls.pane, controls.panoseList(), panoseWeight));
    ASSERT_TRUE(writeOutAs(program, out));

    Bytes output = readBytes(out);
    ASSERT_EQ(output.size(), input.size());
    EXPECT_EQ(getU16(output, os2At + kOS2WeightAt), weightPosition * 100);
    EXPECT_EQ(output[os2At + kOS2PanoseAt + 2], panoseWeight);
    EXPECT_EQ(changedOutsideTable(input, output, "OS/2"), std::vector<size_t>{});
    const uint32_t os2Length = tableLength(input, "OS/2");
    for (size_t at : changedOffsets(input, output))
        if (at >= os2At && at < os2At + os2Length) {
            EXPECT_TRUE(at == os2At + kOS2WeightAt || at == os2At + kOS2WeightAt + 1 ||
                        at == os2At + kOS2PanoseAt + 2)
                << "OS/2 byte " << at - os2At << " changed";
        }
}
