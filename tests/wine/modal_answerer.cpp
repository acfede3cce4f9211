#include "tests/wine/modal_answerer.h"

#include "tests/wine/program_windows.h"

#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>
#include <memory>

namespace {
ModalAnswerer* current = nullptr; // one answerer at a time, on the GUI thread
constexpr UINT kTickMs = 10;

bool contains(const std::vector<HWND>& windows, HWND window) {
    return std::find(windows.begin(), windows.end(), window) != windows.end();
}

void runStep(std::shared_ptr<std::vector<ModalAnswerer::Answer>> steps, size_t index, HWND window) {
    (*steps)[index](window);
    if (index + 1 < steps->size())
        ModalAnswerer::later(window, [steps, index](HWND w) { runStep(steps, index + 1, w); });
}
} // namespace

ModalAnswerer::ModalAnswerer(std::vector<Answer> answers) : answers_(std::move(answers)) {
    current = this;
    hook_ = SetWindowsHookExA(WH_CBT, hookProc, nullptr, GetCurrentThreadId());
}

ModalAnswerer::~ModalAnswerer() {
    if (timer_ != 0)
        KillTimer(nullptr, timer_);
    UnhookWindowsHookEx(hook_);
    current = nullptr;
}

void ModalAnswerer::later(HWND window, Answer step) {
    if (current == nullptr)
        return;
    current->steps_.emplace_back(window, std::move(step));
    current->arm();
}

LRESULT CALLBACK ModalAnswerer::hookProc(int code, WPARAM wParam, LPARAM lParam) {
    HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && current != nullptr && className(window) == "#32770" &&
        !contains(current->pending_, window) && !contains(current->watched_, window)) {
        current->pending_.push_back(window);
        current->arm(); // answered from the modal loop, not inside the activation
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK ModalAnswerer::timerProc(HWND, UINT, UINT_PTR, DWORD) {
    if (current != nullptr)
        current->answerPending();
}

void ModalAnswerer::arm() {
    if (timer_ == 0)
        timer_ = SetTimer(nullptr, 0, kTickMs, timerProc);
}

void ModalAnswerer::answerPending() {
    KillTimer(nullptr, timer_);
    timer_ = 0;

    // Answered on an earlier pass and neither closed, busy nor waiting for a step.
    std::vector<HWND> watched;
    watched.swap(watched_);
    for (HWND window : watched) {
        if (!IsWindow(window))
            continue;
        bool hasStep = std::any_of(steps_.begin(), steps_.end(),
                                   [window](const auto& step) { return step.first == window; });
        if (contains(running_, window) || hasStep) {
            watched_.push_back(window);
        } else {
            ++leftOpen_;
            EndDialog(window, 0);
        }
    }

    std::vector<std::pair<HWND, Answer>> steps;
    steps.swap(steps_);
    for (auto& [window, step] : steps)
        if (IsWindow(window))
            run(window, step);

    std::vector<HWND> windows;
    windows.swap(pending_);
    for (HWND window : windows) {
        if (!IsWindow(window))
            continue;
        watched_.push_back(window);
        if (answered_ < static_cast<int>(answers_.size())) {
            Answer answer = answers_[answered_++];
            run(window, answer);
        } else {
            ++unexpected_;
            pressButton(window, IDCANCEL);
        }
    }
    if (!watched_.empty() || !steps_.empty() || !pending_.empty())
        arm();
}

// An answer may open another modal window and be answered inside it; its own
// window is busy, not left open, until the answer returns.
void ModalAnswerer::run(HWND window, const Answer& answer) {
    running_.push_back(window);
    answer(window);
    running_.erase(std::find(running_.begin(), running_.end(), window));
}

ModalAnswerer::Answer inSteps(std::vector<ModalAnswerer::Answer> steps) {
    auto shared = std::make_shared<std::vector<ModalAnswerer::Answer>>(std::move(steps));
    return [shared](HWND window) {
        if (!shared->empty())
            runStep(shared, 0, window);
    };
}

ModalAnswerer::Answer recordMessageBox(std::vector<MessageBoxSeen>& seen) {
    return [&seen](HWND box) {
        MessageBoxSeen message{windowText(GetDlgItem(box, 0xFFFF)), windowText(box), false,
                               GetWindow(box, GW_OWNER)};
        const LRESULT errorIcon = reinterpret_cast<LRESULT>(LoadIconA(nullptr, IDI_HAND));
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            message.errorIcon |= (GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
                                 SendMessageA(child, STM_GETICON, 0, 0) == errorIcon;
        seen.push_back(message);
        pressButton(box, IDOK);
    };
}

namespace {
using ControlSearch = std::pair<int, HWND>; // the id, the window found

BOOL CALLBACK matchControl(HWND child, LPARAM data) {
    auto* search = reinterpret_cast<ControlSearch*>(data);
    if (GetDlgCtrlID(child) == search->first)
        search->second = child;
    return search->second == nullptr;
}

// The window with this control id among dialog's children at any depth.
HWND findControl(HWND dialog, int id) {
    ControlSearch search = {id, nullptr};
    EnumChildWindows(dialog, matchControl, reinterpret_cast<LPARAM>(&search));
    return search.second;
}
} // namespace

FileDialogSeen describeFileDialog(HWND dialog) {
    FileDialogSeen seen{windowText(dialog), {}};
    HWND types = findControl(dialog, cmb1); // the file type box
    LRESULT count = types ? SendMessageA(types, CB_GETCOUNT, 0, 0) : 0;
    for (LRESULT i = 0; i < count; ++i) {
        char text[256] = {};
        SendMessageA(types, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        seen.filters.push_back(text);
    }
    return seen;
}

ModalAnswerer::Answer chooseFile(const std::string& path) {
    return [path](HWND dialog) {
        // The name box is an edit (edt1) or, in newer layouts, a combo box (cmb13).
        HWND name = findControl(dialog, edt1);
        SetWindowTextA(name ? name : findControl(dialog, cmb13), path.c_str());
        pressButton(dialog, IDOK);
    };
}

void pressButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (button != nullptr && IsWindowEnabled(button))
        SendMessageA(button, BM_CLICK, 0, 0);
    else
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

void pressKey(HWND dialog, WPARAM key) {
    HWND focus = GetFocus();
    HWND target = focus != nullptr && (focus == dialog || IsChild(dialog, focus)) ? focus : dialog;
    // Repeat count 1 and the scan code; a release also has the previous-state
    // and transition bits.
    DWORD down = 1 | (MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_VSC) << 16);
    DWORD up = down | 0xC0000000u;
    PostMessageA(target, WM_KEYDOWN, key, static_cast<LPARAM>(down));
    PostMessageA(target, WM_KEYUP, key, static_cast<LPARAM>(up));
}

std::string windowText(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}
