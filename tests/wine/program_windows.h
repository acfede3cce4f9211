// The one way the Wine tests drive the program: its real main window, the
// modal windows it opens answered from a hook, and real files. Each test
// file includes only this.
#pragma once

#include "app/base_window.h"
#include "app/command_ids.h"
#include "app/main_window.h"
#include "app/placeholder_pane.h"
#include "app/splitter.h"
#include "app/startup.h"
#include "font/file_handle.h"
#include "font/path_parts.h"
#include "res/resource.h"
#include "tables/gasp/gasp_header.h"
#include "tables/gasp/gasp_pane.h"
#include "tables/os2/os2.h"
#include "tables/os2/os2_pane.h"
#include "tables/os2/value_names.h"
#include "tests/support/sfnt_builder.h"
#include "tests/support/write_bounds.h"

#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <list>
#include <map>
#include <optional>
#include <string>
#include <vector>

// A font holding, in this order: gasp, VORG, cmap, GASP, os/2, OS/2, head, "cvt ".
inline Bytes browserFont() {
    return SfntBuilder()
        .table("gasp", gaspTable(1, {{8, 0x000A}, {0xFFFF, 0x000F}}))
        .table("VORG", filler(8))
        .table("cmap", filler(20))
        .table("GASP", gaspTable(1, {{0xFFFF, 0x0003}}))
        .table("os/2", os2Table(2))
        .table("OS/2", os2Table(2))
        .table("head", headTable())
        .table("cvt ", filler(12))
        .build();
}

// Dispatches every waiting message; a WM_QUIT is taken out too (so that it
// cannot end a later modal loop) and counted.
inline int pumpMessages() {
    int quits = 0;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ++quits;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return quits;
}

// A main window whose base window is width x height; destroyed, and the open
// font released, at the end.
class ProgramWindow {
  public:
    explicit ProgramWindow(int width = 600, int height = 400) {
        static const bool registered = [] {
            buildValueNameTables();
            return registerWindowClasses() != 0;
        }();
        (void)registered;
        window_ = createMainWindow(SW_SHOWNORMAL);
        resizeBase(width, height);
    }
    ProgramWindow(const ProgramWindow&) = delete;
    ProgramWindow& operator=(const ProgramWindow&) = delete;
    ~ProgramWindow() {
        if (IsWindow(window_))
            DestroyWindow(window_);
        pumpMessages();
        freeFontFile(fileImage, otf);
        fileLength = 0;
    }
    HWND handle() const { return window_; }
    void command(int id, LPARAM lParam = 0) {
        SendMessageA(window_, WM_COMMAND, static_cast<WPARAM>(id), lParam);
    }
    void load(const std::string& path) { // as start-up and the open dialog do
        command(kCmdLoadFont, reinterpret_cast<LPARAM>(path.c_str()));
    }
    void resizeBase(int width, int height) {
        // The frame around the client area, and the status bar below the base window.
        RECT window = {}, client = {}, status = {};
        GetWindowRect(window_, &window);
        GetClientRect(window_, &client);
        GetClientRect(hStatusBar, &status);
        SetWindowPos(window_, nullptr, 0, 0, width + (window.right - window.left) - client.right,
                     height + (window.bottom - window.top) - client.bottom + status.bottom,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        pumpMessages();
    }

  private:
    HWND window_ = nullptr;
};

inline std::string itemText(HTREEITEM item) {
    char text[520] = {};
    TVITEMA data = {TVIF_TEXT | TVIF_HANDLE, item, 0, 0, text, sizeof text, 0, 0, 0, 0};
    SendMessageA(hTreeView, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
    return text;
}

// The root, then its children.
inline std::vector<HTREEITEM> treeItems() {
    auto next = [](UINT relation, HTREEITEM item) {
        return reinterpret_cast<HTREEITEM>(
            SendMessageA(hTreeView, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
    };
    std::vector<HTREEITEM> items;
    for (HTREEITEM item = next(TVGN_ROOT, nullptr); item != nullptr;
         item = next(items.size() == 1 ? TVGN_CHILD : TVGN_NEXT, item))
        items.push_back(item);
    return items;
}

struct TreeContents {
    int count = 0;
    std::string root;
    std::vector<std::string> children;
};
inline TreeContents treeContents() {
    TreeContents contents;
    contents.count = static_cast<int>(SendMessageA(hTreeView, TVM_GETCOUNT, 0, 0));
    for (HTREEITEM item : treeItems())
        (contents.root.empty() ? contents.root : contents.children.emplace_back()) = itemText(item);
    return contents;
}

// Selects the item with this text as a click would; false when there is none.
inline bool selectItem(const std::string& text) {
    std::vector<HTREEITEM> items = treeItems();
    auto found = std::find_if(items.begin(), items.end(),
                              [&text](HTREEITEM item) { return itemText(item) == text; });
    if (found != items.end())
        SendMessageA(hTreeView, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(*found));
    pumpMessages();
    return found != items.end();
}

inline std::string className(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

inline std::vector<std::string> paneClasses() { // the base window's children but the tree
    std::vector<std::string> classes;
    for (HWND child = GetWindow(hBaseWindow, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        if (child != hTreeView)
            classes.push_back(className(child));
    return classes;
}

inline RECT rectInParent(HWND child) {
    RECT rect = {};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Loads path and selects item; true when a pane shows it.
inline bool openItem(ProgramWindow& program, const std::string& path, const std::string& item) {
    program.load(path);
    return selectItem(item) && hPane != nullptr;
}

inline void pressButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (button != nullptr && IsWindowEnabled(button))
        SendMessageA(button, BM_CLICK, 0, 0);
    else
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

// Posted to the focused control, as typed.
inline void pressKey(HWND dialog, WPARAM key) {
    HWND focus = GetFocus();
    HWND target = focus != nullptr && (focus == dialog || IsChild(dialog, focus)) ? focus : dialog;
    // Repeat count 1 and the scan code; a release adds the previous-state and transition bits.
    DWORD down = 1 | (MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_VSC) << 16);
    PostMessageA(target, WM_KEYDOWN, key, static_cast<LPARAM>(down));
    PostMessageA(target, WM_KEYUP, key, static_cast<LPARAM>(down | 0xC0000000u));
}

inline std::string windowText(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// Answers the modal windows opened on this thread, in order, one step a pass
// of their modal loop. Windows past the last answer are cancelled and counted
// unexpected; one still open after its last step is ended and counted left open.
class ModalAnswerer {
  public:
    using Step = std::function<void(HWND window)>;
    explicit ModalAnswerer(std::vector<Step> answers) : answers_(std::move(answers)) {
        current_ = this;
        hook_ = SetWindowsHookExA(WH_CBT, hookProc, nullptr, GetCurrentThreadId());
        timer_ = SetTimer(nullptr, 0, 10, tick);
    }
    ModalAnswerer(const ModalAnswerer&) = delete;
    ModalAnswerer& operator=(const ModalAnswerer&) = delete;
    ~ModalAnswerer() {
        KillTimer(nullptr, timer_);
        UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }
    int answered() const { return answered_; }
    bool clean() const { return unexpected_ == 0 && leftOpen_ == 0; }
    // Runs steps on window's next passes.
    static void later(HWND window, std::vector<Step> steps) {
        for (Live& live : current_->live_)
            if (live.window == window)
                live.steps.insert(live.steps.end(), steps.begin(), steps.end());
    }

  private:
    struct Live {
        HWND window;
        std::vector<Step> steps;
        bool busy = false;
    };
    static LRESULT CALLBACK hookProc(int code, WPARAM wParam, LPARAM lParam) {
        HWND window = reinterpret_cast<HWND>(wParam);
        auto& live = current_->live_;
        if (code == HCBT_ACTIVATE && className(window) == "#32770" &&
            std::none_of(live.begin(), live.end(),
                         [window](auto& l) { return l.window == window; })) {
            bool expected = current_->answered_ < static_cast<int>(current_->answers_.size());
            current_->unexpected_ += !expected;
            live.push_back({window,
                            {expected ? current_->answers_[current_->answered_++]
                                      : [](HWND w) { pressButton(w, IDCANCEL); }}});
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    // An answer may open another modal window; its own is busy until it returns.
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        auto& live = current_->live_;
        for (auto it = live.begin(); it != live.end();) {
            if (it->busy) {
                ++it;
            } else if (!IsWindow(it->window)) {
                it = live.erase(it);
            } else if (it->steps.empty()) {
                ++current_->leftOpen_;
                EndDialog(it->window, 0);
                it = live.erase(it);
            } else {
                Step step = it->steps.front();
                it->steps.erase(it->steps.begin());
                it->busy = true;
                step(it->window);
                (it++)->busy = false;
            }
        }
    }
    static inline ModalAnswerer* current_ = nullptr; // one at a time, on the GUI thread
    std::vector<Step> answers_;
    std::list<Live> live_;
    HHOOK hook_ = nullptr;
    UINT_PTR timer_ = 0;
    int answered_ = 0, unexpected_ = 0, leftOpen_ = 0;
};
using Step = ModalAnswerer::Step;

inline Step press(int id) {
    return [id](HWND dialog) { pressButton(dialog, id); };
}

inline Step inSteps(std::vector<Step> steps) { // each on its own pass
    return [steps](HWND window) {
        steps.front()(window);
        ModalAnswerer::later(window, std::vector<Step>(steps.begin() + 1, steps.end()));
    };
}

struct MessageBoxSeen {
    std::string text, caption;
    bool errorIcon = false;
    HWND owner = nullptr;
};
// Records a message box and presses OK.
inline Step recordMessageBox(std::vector<MessageBoxSeen>& seen) {
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

// Types path into a file dialog's name box and presses OK.
inline Step chooseFile(const std::string& path) {
    return [path](HWND dialog) {
        // The name box is an edit (edt1) or, in newer layouts, a combo box (cmb13).
        HWND name = GetDlgItem(dialog, edt1);
        SetWindowTextA(name ? name : GetDlgItem(dialog, cmb13), path.c_str());
        pressButton(dialog, IDOK);
    };
}

// Menu command Write answered with path; true when that dialog was the only one.
inline bool writeOutAs(ProgramWindow& program, const std::string& path) {
    ModalAnswerer answerer({chooseFile(path)});
    program.command(IDM_WRITE);
    pumpMessages();
    return answerer.answered() == 1 && answerer.clean();
}

inline std::vector<std::string> fileNamesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

class TestFolder {
  public:
    TestFolder() { // new and empty, under the Windows temp folder
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        static unsigned counter = 0;
        do {
            path_ = std::string(temp) + "fontab-test-" + std::to_string(GetCurrentProcessId()) +
                    "-" + std::to_string(++counter);
        } while (!CreateDirectoryA(path_.c_str(), nullptr));
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;
    ~TestFolder() {
        for (const std::string& name : fileNamesIn(path_)) {
            SetFileAttributesA(file(name).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(file(name).c_str());
            RemoveDirectoryA(file(name).c_str());
        }
        RemoveDirectoryA(path_.c_str());
    }
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "\\" + name; }

  private:
    std::string path_;
};

inline bool writeBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    return out.write(reinterpret_cast<const char*>(bytes.data()), bytes.size()).flush().good();
}

inline Bytes readBytes(const std::string& path) { // empty when it cannot be read
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The first byte of after, written out from the open font read from before,
// that the font may not write; nothing when every change is allowed.
inline std::optional<size_t> strayWrite(const Bytes& before, const Bytes& after) {
    if (otf == nullptr || before.size() != after.size())
        return std::min(before.size(), after.size());
    return strayChange(before.data(), after.data(), before.size(),
                       writableBytes(*otf, before.size()));
}
