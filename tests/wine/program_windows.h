// The program's own windows opened for a test: the classes registered once,
// a main window shown at a known size, and what the tests read back from the
// tree and the panes.
#pragma once

#include "tests/support/sfnt_builder.h"

#include <windows.h>

#include <string>
#include <vector>

// Registers the program's window classes once per process.
void registerProgramClasses();

// Dispatches every message waiting on this thread. A WM_QUIT (posted when a
// main window is destroyed) is taken out of the queue too, so that it cannot
// end a later modal loop; the result is how many were taken.
int pumpMessages();

// A font whose directory holds, in this order: gasp, VORG (a tag the tree
// does not know), cmap, GASP and os/2 (known tags in the wrong case), OS/2,
// head and "cvt ".
Bytes browserFont();
// The same without gasp and OS/2 tables.
Bytes fontWithoutEditors();

// A main window for one test, with the base window's client area
// width x height; destroyed, and the open font released, at the end.
class ProgramWindow {
  public:
    explicit ProgramWindow(int width = 600, int height = 400);
    ProgramWindow(const ProgramWindow&) = delete;
    ProgramWindow& operator=(const ProgramWindow&) = delete;
    ~ProgramWindow();

    HWND handle() const { return window_; }
    // Sends WM_COMMAND with id (and lParam) to the main window.
    void command(int id, LPARAM lParam = 0);
    // Command 400 with path, as start-up and the open dialog do.
    void load(const std::string& path);
    // Resizes so that the base window's client area is width x height.
    void resizeBase(int width, int height);

  private:
    HWND window_ = nullptr;
};

struct TreeContents {
    int count = 0;                     // every item in the tree
    std::string root;                  // the first root's text
    std::vector<std::string> children; // the first root's children, in order
};
TreeContents treeContents(HWND tree);

// Selects the item with this text (the root or one of its children) as a
// click would; false when no item has it.
bool selectItem(HWND tree, const std::string& text);

std::string className(HWND window);
// The class names of the base window's children other than the tree: the panes.
std::vector<std::string> paneClasses(HWND baseWindow);
// A child's rectangle in its parent's client coordinates.
RECT rectInParent(HWND child);

class fontObject;

// The open font's table object with this tag, or null.
fontObject* openTable(const char* tag);
// Loads the font at path and selects the tree item with this text; true when
// the item was found and a pane shows it.
bool openItem(ProgramWindow& program, const std::string& path, const std::string& item);
// Selects "head", then item again: a fresh pane on the same object.
bool reselectItem(const std::string& item);
// Menu command "Write" with the save dialog answered with path; true when that
// dialog was the only modal window.
bool writeOutAs(ProgramWindow& program, const std::string& path);
// Offsets where after differs from before, leaving out the bytes of the table
// with tag, its record's checkSum and head's checkSumAdjustment.
std::vector<size_t> changedOutsideTable(const Bytes& before, const Bytes& after,
                                        const std::string& tag);
