// The OS/2 pane as a test sees it: its controls found in creation order, what
// they show, the user's actions on them, and fixture fonts for it.
#pragma once

#include "tests/support/sfnt_builder.h"
#include "tests/wine/program_windows.h"
#include "tests/wine/wine_test_files.h"

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <string>
#include <vector>

class OS2;

// The pane's thirteen controls, its direct children in the order created.
struct OS2PaneControls {
    HWND pane = nullptr;
    std::vector<HWND> children;

    HWND embeddingLabel() const { return children[0]; }
    HWND usageList() const { return children[1]; }
    HWND optionBox(size_t i) const { return children[2 + i]; }
    HWND vendorLabel() const { return children[4]; }
    HWND vendorBox() const { return children[5]; }
    HWND weightLabel() const { return children[6]; }
    HWND weightTrackbar() const { return children[7]; }
    HWND weightName() const { return children[8]; }
    HWND widthLabel() const { return children[9]; }
    HWND widthTrackbar() const { return children[10]; }
    HWND widthName() const { return children[11]; }
    HWND panoseLabel() const { return children[12]; }
    HWND panoseList() const { return children[13]; }
};
constexpr size_t kOS2PaneControlCount = 14; // 13 kinds, two option boxes

// A pane's children in creation order; currentOS2Pane() for the base
// window's current pane.
OS2PaneControls os2PaneControls(HWND pane);
OS2PaneControls currentOS2Pane();

// Everything the pane shows. A list's selection is the item data of its
// selected item, -1 when nothing is selected.
struct OS2PaneView {
    int usage = -1;
    std::string usageText;
    std::array<bool, 2> options = {};
    std::string vendor;
    int weightPosition = 0;
    std::string weightName;
    int widthPosition = 0;
    std::string widthName;
    int panose = -1;
    std::string panoseText;
    // Enabled state of the usage list, the two option boxes and the vendor
    // box, which only show values.
    std::array<bool, 4> shownEnabled = {};
    // Enabled state of the weight trackbar, the width trackbar and the
    // PANOSE list, which edit values.
    std::array<bool, 3> editorsEnabled = {};
};
OS2PaneView readOS2Pane(const OS2PaneControls& controls);

std::string controlText(HWND control);
// A list's items as (text, item data) in list order.
std::vector<std::pair<std::string, LRESULT>> listItems(HWND list);

// What the trackbar sends its parent while the user drags its thumb to
// position: each scroll code in turn, with the trackbar in lParam.
void moveTrackbar(HWND pane, HWND trackbar, int position,
                  const std::vector<int>& codes = {TB_THUMBTRACK, TB_THUMBPOSITION, TB_ENDTRACK});
// Picks the item whose data is value and notifies the pane as the list does;
// false when no item has that data.
bool chooseListItem(HWND pane, HWND list, LRESULT value);

// The open font's OS/2 object, or null.
OS2* openOS2();

// A font with head, cmap and the given OS/2 table, in that order.
Bytes fontWithOS2(const Bytes& os2);
// An OS/2 table of version with these values.
struct OS2Values {
    uint16_t version = 4;
    uint16_t weight = 400;
    uint16_t width = 5;
    uint16_t fsType = 0;
    std::array<uint8_t, 4> vendor = {'T', 'E', 'S', 'T'};
    uint8_t bWeight = 5;
};
Bytes os2TableWith(const OS2Values& values);

// Offsets where two images differ.
std::vector<size_t> changedOffsets(const Bytes& before, const Bytes& after);
// The changed offsets that lie outside the given table's bytes, its directory
// record's checkSum and head's checkSumAdjustment, which write-out updates.
std::vector<size_t> changedOutsideTable(const Bytes& before, const Bytes& after,
                                        const std::string& tag);
// File offset of the table with tag in image (searched in its directory), or
// 0 when it has none.
uint32_t tableOffset(const Bytes& image, const std::string& tag);
// Its record's length, 0 when it has none.
uint32_t tableLength(const Bytes& image, const std::string& tag);

// Command 201 with the save dialog answered with path; true when the dialog
// came and was the only modal window.
bool writeOutAs(ProgramWindow& program, const std::string& path);

// Loads path through the main window and selects the "OS/2" item.
bool openOS2Pane(ProgramWindow& program, const std::string& path);
// Selects another item, then "OS/2" again: a fresh pane.
bool reselectOS2();

// A fixture font written to a fresh folder and opened in a program window of
// its own, with the "OS/2" item selected.
struct OpenedPane {
    TestFolder folder;
    ProgramWindow program;
    Bytes font;
    std::string path;
    OS2PaneControls controls;

    explicit OpenedPane(const Bytes& image);
    // Both false on any failure, which the caller reports with ASSERT.
    bool open();
    bool reopen(); // selects another item, then "OS/2" again
    OS2PaneView view() const { return readOS2Pane(controls); }
};
