// The one way the Wine tests drive the program: its real main window, the
// modal windows it opens answered from a hook, and real files.
#pragma once

#include "tests/support/sfnt_builder.h"

#include <windows.h>

#include <functional>
#include <list>
#include <optional>
#include <string>
#include <vector>

// Dispatches every waiting message; a WM_QUIT is taken out too (so that it
// cannot end a later modal loop) and counted.
int pumpMessages();

// A font holding, in this order: gasp, VORG, cmap, GASP, os/2, OS/2, head, "cvt ".
Bytes browserFont();

// A main window whose base window is width x height; destroyed, and the open
// font released, at the end.
class ProgramWindow {
  public:
    explicit ProgramWindow(int width = 600, int height = 400);
    ProgramWindow(const ProgramWindow&) = delete;
    ProgramWindow& operator=(const ProgramWindow&) = delete;
    ~ProgramWindow();
    HWND handle() const { return window_; }
    void command(int id, LPARAM lParam = 0);
    void load(const std::string& path); // as start-up and the open dialog do
    void resizeBase(int width, int height);

  private:
    HWND window_ = nullptr;
};

struct TreeContents {
    int count = 0;
    std::string root;
    std::vector<std::string> children;
};
TreeContents treeContents();
// Selects the item with this text as a click would; false when there is none.
bool selectItem(const std::string& text);
std::string className(HWND window);
std::vector<std::string> paneClasses(); // the base window's children but the tree
RECT rectInParent(HWND child);
// Loads path and selects item; true when a pane shows it.
bool openItem(ProgramWindow& program, const std::string& path, const std::string& item);

// Answers the modal windows opened on this thread, in order, one step a pass
// of their modal loop. Windows past the last answer are cancelled and counted
// unexpected; one still open after its last step is ended and counted left open.
class ModalAnswerer {
  public:
    using Step = std::function<void(HWND window)>;
    explicit ModalAnswerer(std::vector<Step> answers);
    ModalAnswerer(const ModalAnswerer&) = delete;
    ModalAnswerer& operator=(const ModalAnswerer&) = delete;
    ~ModalAnswerer();
    int answered() const { return answered_; }
    bool clean() const { return unexpected_ == 0 && leftOpen_ == 0; }
    // Runs steps on window's next passes.
    static void later(HWND window, std::vector<Step> steps);

  private:
    struct Live {
        HWND window;
        std::vector<Step> steps;
        bool busy = false;
    };
    static LRESULT CALLBACK hookProc(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD);
    std::vector<Step> answers_;
    std::list<Live> live_;
    HHOOK hook_ = nullptr;
    UINT_PTR timer_ = 0;
    int answered_ = 0, unexpected_ = 0, leftOpen_ = 0;
};
using Step = ModalAnswerer::Step;
Step inSteps(std::vector<Step> steps); // each on its own pass

struct MessageBoxSeen {
    std::string text, caption;
    bool errorIcon = false;
    HWND owner = nullptr;
};
// Records a message box and presses OK.
Step recordMessageBox(std::vector<MessageBoxSeen>& seen);
// Types path into a file dialog's name box and presses OK.
Step chooseFile(const std::string& path);
Step press(int id);
void pressButton(HWND dialog, int id);
void pressKey(HWND dialog, WPARAM key); // posted to the focused control, as typed
std::string windowText(HWND window);
// Menu command Write answered with path; true when that dialog was the only one.
bool writeOutAs(ProgramWindow& program, const std::string& path);

class TestFolder {
  public:
    TestFolder(); // new and empty, under the Windows temp folder
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;
    ~TestFolder();
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "\\" + name; }

  private:
    std::string path_;
};
bool writeBytes(const std::string& path, const Bytes& bytes);
Bytes readBytes(const std::string& path); // empty when it cannot be read
std::vector<std::string> fileNamesIn(const std::string& folder);
// The first byte of after, written out from the open font read from before,
// that the font may not write; nothing when every change is allowed.
std::optional<size_t> strayWrite(const Bytes& before, const Bytes& after);
