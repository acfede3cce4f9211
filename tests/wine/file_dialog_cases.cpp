// A case that opens a file dialog says so in its name, which ends in
// kFileDialogSuffix: the 32-bit run under qemu-i386, where Wine's file dialog
// can hang before it is shown, leaves those cases out by name
// (register.cmake). Here every case is watched, and one that opens a file
// dialog without the suffix fails, so no list needs keeping by hand.
#include "tests/wine/program_windows.h"

namespace {

constexpr char kFileDialogSuffix[] = "WithFileDialog";

bool namedForFileDialog(const ::testing::TestInfo& test) {
    const std::string name = test.name();
    const std::string suffix = kFileDialogSuffix;
    return name.size() >= suffix.size() &&
           name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The open and save dialogs, and no dialog of the program's own, have the
// file type list (cmb1) and the name box (edt1, or cmb13 in newer layouts).
bool isFileDialog(HWND window) {
    return className(window) == "#32770" && GetDlgItem(window, cmb1) != nullptr &&
           (GetDlgItem(window, edt1) != nullptr || GetDlgItem(window, cmb13) != nullptr);
}

class FileDialogWatch : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo& test) override {
        named_ = namedForFileDialog(test);
        reported_ = false;
        hook_ = SetWindowsHookExW(WH_CBT, hookProc, nullptr, GetCurrentThreadId());
    }
    void OnTestEnd(const ::testing::TestInfo&) override {
        UnhookWindowsHookEx(hook_);
        hook_ = nullptr;
    }
    static LRESULT CALLBACK hookProc(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_ACTIVATE && !named_ && !reported_ &&
            isFileDialog(reinterpret_cast<HWND>(wParam))) {
            reported_ = true;
            ADD_FAILURE() << "this case opens a file dialog: its name must end in "
                          << kFileDialogSuffix << ", so that the run under qemu leaves it out";
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline HHOOK hook_ = nullptr;
    static inline bool named_ = false, reported_ = false;
};

// Registered before gtest_main runs the cases.
[[maybe_unused]] const bool registered = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new FileDialogWatch);
    return true;
}();

} // namespace
