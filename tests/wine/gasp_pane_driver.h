// Drives the gasp pane of a running main window for the tests: a font opened
// through command 400, its "gasp" item selected in the tree, the rows read
// back from the list and double-clicks sent to it, and the range dialog
// looked at and filled in from a ModalAnswerer answer.
#pragma once

#include "tests/wine/modal_answerer.h"
#include "tests/wine/program_windows.h"
#include "tests/wine/wine_test_files.h"

#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

using GaspRanges = std::map<uint16_t, uint16_t>;
using GaspRecords = std::vector<std::pair<uint16_t, uint16_t>>;
using ListRows = std::vector<std::vector<std::string>>; // four cells a row

// head, cmap, OS/2, gasp with these records, post.
Bytes fontWithGasp(uint16_t version, const GaspRecords& records);

// The ranges of the open font's gasp object; nothing when there is none.
std::optional<GaspRanges> openGaspRanges();

ListRows listRows(HWND list);

// The main window with the font loaded and its gasp pane showing.
class GaspPaneSession {
  public:
    explicit GaspPaneSession(const Bytes& font);

    // The pane and its list were found where they belong.
    bool ready() const { return list_ != nullptr; }
    HWND pane() const { return pane_; }
    HWND list() const { return list_; }
    const TestFolder& folder() const { return folder_; }
    ProgramWindow& program() { return program_; }

    ListRows rows() const { return listRows(list_); }
    // A double-click in the middle of the row, through the list's own
    // handling of the mouse; returns once any dialog it opened has closed.
    void doubleClickRow(int row);
    // A double-click in the list's client area below its last row.
    void doubleClickBelowRows();

  private:
    void doubleClickAt(POINT point);

    TestFolder folder_;
    ProgramWindow program_;
    HWND pane_ = nullptr;
    HWND list_ = nullptr;
};

// What the range dialog shows.
struct GaspDialogView {
    std::string caption;
    std::string size;
    bool sizeEnabled = false;
    bool ppemEnabled = false;
    bool pointsEnabled = false;
    bool ppemChecked = false;
    bool pointsChecked = false;
    bool hinting = false;
    bool smoothing = false;
};
GaspDialogView viewGaspDialog(HWND dialog);

// What to change in the range dialog; unset fields stay as shown.
struct GaspDialogInput {
    std::optional<std::string> size;
    std::optional<bool> points; // true: "ポイント", false: "PPEM"
    std::optional<bool> hinting;
    std::optional<bool> smoothing;
};
void fillGaspDialog(HWND dialog, const GaspDialogInput& input);

// Fills the dialog in, then presses the button (IDOK or IDCANCEL); seen, when
// given, receives what the dialog showed first.
ModalAnswerer::Answer answerGaspDialog(const GaspDialogInput& input, int button,
                                       GaspDialogView* seen = nullptr);
