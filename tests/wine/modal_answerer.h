// Answers the modal windows (dialogs and message boxes) that the code under
// test opens on this thread, from a CBT hook: each answer runs once its
// window is up and its modal loop is running.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

class ModalAnswerer {
  public:
    using Answer = std::function<void(HWND window)>;

    // Answers the next windows in order, one answer each. Windows past the
    // last answer are closed with IDCANCEL and counted as unexpected. A window
    // still open after its answer (and its later steps) is ended with
    // EndDialog and counted as left open, so that no test hangs on it.
    explicit ModalAnswerer(std::vector<Answer> answers);
    ModalAnswerer(const ModalAnswerer&) = delete;
    ModalAnswerer& operator=(const ModalAnswerer&) = delete;
    ~ModalAnswerer();

    int answered() const { return answered_; }
    int unexpected() const { return unexpected_; }
    int leftOpen() const { return leftOpen_; }

    // Runs step for window on a later pass of its modal loop, once what the
    // current step posted has been handled.
    static void later(HWND window, Answer step);

  private:
    static LRESULT CALLBACK hookProc(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK timerProc(HWND, UINT, UINT_PTR, DWORD);
    void arm();
    void answerPending();
    void run(HWND window, const Answer& answer);

    std::vector<Answer> answers_;
    std::vector<HWND> pending_;                  // up, not yet answered
    std::vector<std::pair<HWND, Answer>> steps_; // later steps of answered windows
    std::vector<HWND> watched_;                  // answered, expected to close
    std::vector<HWND> running_;                  // answers and steps now running
    HHOOK hook_ = nullptr;
    UINT_PTR timer_ = 0;
    int answered_ = 0;
    int unexpected_ = 0;
    int leftOpen_ = 0;
};

// Runs the steps one after another, each on its own pass of the modal loop.
ModalAnswerer::Answer inSteps(std::vector<ModalAnswerer::Answer> steps);

// What a message box said; recordMessageBox records it and presses OK.
struct MessageBoxSeen {
    std::string text;
    std::string caption;
    bool errorIcon = false;
    HWND owner = nullptr;
};
ModalAnswerer::Answer recordMessageBox(std::vector<MessageBoxSeen>& seen);

// What a file dialog showed: its title and the descriptions in its file type box.
struct FileDialogSeen {
    std::string title;
    std::vector<std::string> filters;
};
FileDialogSeen describeFileDialog(HWND dialog);
// Types path into a file dialog's name box and presses its OK button.
ModalAnswerer::Answer chooseFile(const std::string& path);

// Presses a dialog button (IDOK, IDCANCEL or a control id) as a click would.
void pressButton(HWND dialog, int id);
// Posts a key press to the focused control of dialog, as typed.
void pressKey(HWND dialog, WPARAM key);
std::string windowText(HWND window);
