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
#include "app/wide_text.h"
#include "font/file_handle.h"
#include "res/resource.h"
#include "tables/gasp/gasp_header.h"
#include "tables/gasp/gasp_pane.h"
#include "tables/hhea/hhea_pane.h"
#include "tables/hhea/line_spacing.h"
#include "tables/name/name_pane.h"
#include "tables/name/naming_table.h"
#include "tables/os2/os2.h"
#include "tables/os2/os2_pane.h"
#include "tables/os2/value_names.h"
#include "tests/support/sfnt_builder.h"
#include "tests/support/write_bounds.h"

#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

// Dispatches every waiting message, keys through dialog's own key handling
// when given, as its modal loop would. A WM_QUIT is taken out too, so that it
// cannot end a later modal loop.
inline void pumpMessages(HWND dialog = nullptr) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message != WM_QUIT && !(dialog != nullptr && IsDialogMessageW(dialog, &msg))) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
}

// The program's main window; destroyed, and the open font released, at the end.
class ProgramWindow {
  public:
    ProgramWindow() {
        [[maybe_unused]] static const bool registered = [] {
            buildValueNameTables();
            return registerWindowClasses() != 0;
        }();
        window_ = createMainWindow(SW_SHOWNORMAL);
        pumpMessages();
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
        SendMessageW(window_, WM_COMMAND, static_cast<WPARAM>(id), lParam);
    }

  private:
    HWND window_ = nullptr;
};

inline HTREEITEM treeRelative(UINT relation, HTREEITEM item = nullptr) {
    return reinterpret_cast<HTREEITEM>(
        SendMessageW(hTreeView, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

// Every item depth first with its path: the root's text, then below it
// "tag" (a single font) or "font item" and "font item/tag" (a collection).
inline void walkTree(HTREEITEM item, const std::string& prefix,
                     std::vector<std::pair<std::string, HTREEITEM>>& items) {
    for (; item != nullptr; item = treeRelative(TVGN_NEXT, item)) {
        std::string path = prefix + treeItemText(item);
        items.emplace_back(path, item);
        walkTree(treeRelative(TVGN_CHILD, item), items.size() == 1 ? "" : path + "/", items);
    }
}

inline std::vector<std::pair<std::string, HTREEITEM>> treeItems() {
    std::vector<std::pair<std::string, HTREEITEM>> items;
    walkTree(treeRelative(TVGN_ROOT), "", items);
    return items;
}

// Every item's path; none with no font open.
inline std::vector<std::string> treeTexts() {
    std::vector<std::string> texts;
    for (const auto& item : treeItems())
        texts.push_back(item.first);
    return texts;
}

inline HTREEITEM itemAt(const std::string& path) { // null when there is none
    for (const auto& [text, item] : treeItems())
        if (text == path)
            return item;
    return nullptr;
}

// Selects the item with this path as a click would; false when there is none.
inline bool selectItem(const std::string& path) {
    HTREEITEM item = itemAt(path);
    if (item != nullptr)
        SendMessageW(hTreeView, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    pumpMessages();
    return item != nullptr;
}

inline std::string className(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, std::size(name));
    return utf8(name);
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

inline void pressButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (button != nullptr && IsWindowEnabled(button))
        SendMessageW(button, BM_CLICK, 0, 0);
    else
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

// Posted to the focused control, as typed, and handled at once.
inline void pressKey(HWND dialog, WPARAM key) {
    HWND focus = GetFocus();
    HWND target = focus != nullptr && (focus == dialog || IsChild(dialog, focus)) ? focus : dialog;
    // Repeat count 1; a release adds the previous-state and transition bits.
    PostMessageW(target, WM_KEYDOWN, key, 1);
    PostMessageW(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
    pumpMessages(dialog);
}

inline std::string windowText(HWND window) {
    return utf8(controlText(window));
}

inline std::string cellText(HWND list, int row, int column) {
    wchar_t text[256] = {};
    ListView_GetItemText(list, row, column, text, std::size(text));
    return utf8(text);
}

inline std::string statusText() {
    wchar_t text[256] = {};
    SendMessageW(hStatusBar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    return utf8(text);
}

// Answers the modal windows opened on this thread, in order, each from a pass
// of its modal loop. Windows past the last answer are cancelled, and one still
// shown after its answer is ended: either fails the test when the answerer goes.
class ModalAnswerer {
  public:
    using Step = std::function<void(HWND window)>;
    explicit ModalAnswerer(std::vector<Step> answers) : answers_(std::move(answers)) {
        current_ = this;
        hook_ = SetWindowsHookExW(WH_CBT, hookProc, nullptr, GetCurrentThreadId());
        timer_ = SetTimer(nullptr, 0, 10, tick);
    }
    ModalAnswerer(const ModalAnswerer&) = delete;
    ModalAnswerer& operator=(const ModalAnswerer&) = delete;
    ~ModalAnswerer() {
        KillTimer(nullptr, timer_);
        UnhookWindowsHookEx(hook_);
        current_ = nullptr;
        EXPECT_EQ(unexpected_, 0) << "modal windows no answer was given for";
        EXPECT_EQ(leftOpen_, 0) << "modal windows their answer left open";
    }
    int answered() const { return answered_; }

  private:
    // A dialog is activated again when a window it opened closes: only its
    // first time counts. A handle may come back for a new window once the old
    // one is destroyed.
    static LRESULT CALLBACK hookProc(int code, WPARAM wParam, LPARAM lParam) {
        HWND window = reinterpret_cast<HWND>(wParam);
        auto& seen = current_->seen_;
        auto& waiting = current_->waiting_;
        if (code == HCBT_DESTROYWND) {
            seen.erase(std::remove(seen.begin(), seen.end(), window), seen.end());
            waiting.erase(std::remove(waiting.begin(), waiting.end(), window), waiting.end());
        } else if (code == HCBT_ACTIVATE && className(window) == "#32770" &&
                   std::find(seen.begin(), seen.end(), window) == seen.end()) {
            seen.push_back(window);
            waiting.push_back(window);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    // Answers a window once it is shown, as a user would. An answer may open
    // another modal window, answered by a tick from that one's loop.
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        ModalAnswerer& self = *current_;
        auto shown = std::find_if(self.waiting_.begin(), self.waiting_.end(),
                                  [](HWND window) { return IsWindowVisible(window) != 0; });
        if (shown == self.waiting_.end())
            return;
        HWND window = *shown;
        self.waiting_.erase(shown);
        const bool expected = self.answered_ < static_cast<int>(self.answers_.size());
        self.unexpected_ += !expected;
        expected ? self.answers_[self.answered_++](window) : pressButton(window, IDCANCEL);
        if (IsWindow(window) && IsWindowVisible(window)) { // its answer did not end it
            ++self.leftOpen_;
            EndDialog(window, 0);
        }
    }
    static inline ModalAnswerer* current_ = nullptr; // one at a time, on the GUI thread
    std::vector<Step> answers_;
    std::vector<HWND> seen_, waiting_;
    HHOOK hook_ = nullptr;
    UINT_PTR timer_ = 0;
    int answered_ = 0, unexpected_ = 0, leftOpen_ = 0;
};
using Step = ModalAnswerer::Step;

inline Step press(int id) {
    return [id](HWND dialog) { pressButton(dialog, id); };
}

// A message box as seen: its text, caption, the MB_ style its icon and buttons
// stand for (the error, warning or question icon; OK, Yes and No, or Yes, No
// and Cancel), its owner.
using MessageBoxSeen = std::tuple<std::string, std::string, UINT, HWND>;
inline std::vector<MessageBoxSeen> errorBox(const std::string& text, HWND owner) { // one box
    return {{text, "Error", MB_ICONERROR, owner}};
}
// Records a message box and presses button.
inline Step recordMessageBox(std::vector<MessageBoxSeen>& seen, int button = IDOK) {
    return [&seen, button](HWND box) {
        auto shown = [box](int id) { return IsWindowVisible(GetDlgItem(box, id)) != 0; };
        UINT style = !shown(IDYES) ? MB_OK : shown(IDCANCEL) ? MB_YESNOCANCEL : MB_YESNO;
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            for (auto [icon, flag] : {std::pair{IDI_HAND, MB_ICONERROR},
                                      {IDI_EXCLAMATION, MB_ICONWARNING},
                                      {IDI_QUESTION, MB_ICONQUESTION}})
                if ((GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
                    SendMessageW(child, STM_GETICON, 0, 0) ==
                        reinterpret_cast<LRESULT>(LoadIconW(nullptr, icon)))
                    style |= flag;
        seen.emplace_back(windowText(GetDlgItem(box, 0xFFFF)), windowText(box), style,
                          GetWindow(box, GW_OWNER));
        pressButton(box, button);
    };
}

// Checks a file dialog's title and filter list, types path into its name box
// and presses OK.
inline Step chooseFile(const std::string& path,
                       const std::string& title = "フォントファイルの書き出し") {
    return [path, title](HWND dialog) {
        std::string seen = windowText(dialog);
        HWND filter = GetDlgItem(dialog, cmb1);
        for (LRESULT i = 0; i < SendMessageW(filter, CB_GETCOUNT, 0, 0); ++i) {
            wchar_t text[128] = {};
            SendMessageW(filter, CB_GETLBTEXT, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(text));
            seen += "|" + utf8(text);
        }
        EXPECT_EQ(seen, title +
                            "|TrueType,OpenType(TrueTypeアウトライン)(*.ttf)|OpenType(*.otf)|"
                            "TrueType/OpenTypeコレクション(*.ttc;*.otc)|対応する全てのフォント");
        // The name box is an edit (edt1) or, in newer layouts, a combo box (cmb13).
        HWND name = GetDlgItem(dialog, edt1);
        setText(name ? name : GetDlgItem(dialog, cmb13), path);
        pressButton(dialog, IDOK);
    };
}

// A drop as the shell builds it: a DROPFILES header, then the wide path of
// each name in folder (the folder itself for "") and its NUL, and one NUL more.
inline HGLOBAL dropOf(const std::string& folder, const std::vector<std::wstring>& names) {
    std::wstring list;
    for (const std::wstring& name : names)
        list += wide(folder) + (name.empty() ? L"" : L"\\") + name + L'\0';
    const size_t bytes = (list.size() + 1) * sizeof(wchar_t); // with the closing NUL
    HGLOBAL drop = GlobalAlloc(GHND, sizeof(DROPFILES) + bytes);
    auto* header = static_cast<DROPFILES*>(GlobalLock(drop));
    *header = {sizeof(DROPFILES), {0, 0}, FALSE, TRUE};
    std::memcpy(header + 1, list.c_str(), bytes);
    GlobalUnlock(drop);
    return drop;
}

inline std::vector<std::string> fileNamesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(wide(folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = utf8(found.cFileName);
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

// An environment variable as set, whatever the code page; "" when unset.
inline std::string environment(const char* name) {
    wchar_t value[4096] = {};
    GetEnvironmentVariableW(wide(name).c_str(), value, std::size(value));
    return utf8(value);
}

// A name that the ANSI code page the tests run under cannot spell (Korean
// under the Japanese one, Japanese under the others): only a program that
// speaks UTF-16 to Windows opens a file so named. UTF-8 spells every name.
inline std::string unspellableName() {
    return GetACP() == 932 ? "나눔고딕" : "明朝";
}
inline bool codePageLacks(const std::string& name) {
    BOOL lost = FALSE;
    return GetACP() == CP_UTF8 ||
           (WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide(name).c_str(), -1, nullptr, 0,
                                nullptr, &lost) > 0 &&
            lost != FALSE);
}

// Paths in the tests are UTF-8, and wide at every call.
class TestFolder {
  public:
    // New and empty, under the Windows temp folder; its name ends in suffix.
    explicit TestFolder(const std::string& suffix = "") {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        static unsigned counter = 0;
        do {
            path_ = utf8(temp) + "fontab-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                    std::to_string(++counter) + suffix;
        } while (!CreateDirectoryW(wide(path_).c_str(), nullptr));
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;
    ~TestFolder() {
        for (const std::string& name : fileNamesIn(path_)) {
            SetFileAttributesW(wide(file(name)).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(wide(file(name)).c_str());
        }
        RemoveDirectoryW(wide(path_).c_str());
    }
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "\\" + name; }

  private:
    std::string path_;
};

inline bool writeBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(std::filesystem::path(wide(path)), std::ios::binary);
    return out.write(reinterpret_cast<const char*>(bytes.data()), bytes.size()).flush().good();
}

inline Bytes readBytes(const std::string& path) { // empty when it cannot be read
    std::ifstream in(std::filesystem::path(wide(path)), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// What is wrong with after as a write-out of the open font, read from
// before, in place or re-laid; empty when nothing is.
inline std::string brokenWrite(const Bytes& before, const Bytes& after) {
    const char* rule = otf ? brokenWriteOut(*otf, before.data(), before.size(), after) : "no font";
    return rule ? rule : "";
}

// A test folder, its name ending in folderName, and the program, the font
// written to in.ttf in it and opened.
struct Session {
    explicit Session(const std::string& folderName = "") : folder(folderName) {}
    TestFolder folder;
    ProgramWindow program;
    Bytes font;
    // Writes bytes to name, loads it and selects item (when given); true when
    // the font opened and a pane shows the item.
    bool open(const Bytes& bytes, const std::string& item = "",
              const std::string& name = "in.ttf") {
        if (!writeBytes(folder.file(name), font = bytes))
            return false;
        const std::wstring path = wide(folder.file(name));
        program.command(kCmdLoadFont, // as start-up and the open dialog do
                        reinterpret_cast<LPARAM>(path.c_str()));
        return otf != nullptr && (item.empty() || (selectItem(item) && hPane != nullptr));
    }
    Bytes writeOut(const char* name = "out.ttf") { // through the menu; empty when not written
        ModalAnswerer answerer({chooseFile(folder.file(name))});
        program.command(IDM_WRITE);
        pumpMessages();
        return answerer.answered() == 1 ? readBytes(folder.file(name)) : Bytes{};
    }
};

// The panes as a user works them.

// A double-click on row of list as the list gets it from the mouse (below
// the rows when there is no such row), the answers given to what it opens.
inline void editRow(int row, std::vector<Step> answers, HWND list = hGaspList) {
    const int expected = static_cast<int>(answers.size());
    ModalAnswerer answerer(std::move(answers));
    RECT bounds = {};
    int count = ListView_GetItemCount(list);
    ListView_EnsureVisible(list, std::min(row, count - 1), FALSE); // where a user would scroll to
    ListView_GetItemRect(list, std::min(row, count - 1), &bounds, LVIR_BOUNDS);
    LPARAM at = MAKELPARAM(20, row < count ? (bounds.top + bounds.bottom) / 2 : bounds.bottom + 8);
    SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageW(list, WM_LBUTTONUP, 0, at);
    pumpMessages();
    EXPECT_EQ(answerer.answered(), expected) << "row " << row;
}

// What the range dialog is given.
struct Input {
    const char* size = nullptr; // null, a zero unit and a negative flag: as shown
    int unit = 0;
    int hinting = -1, smoothing = -1;
};

// Fills the dialog in and ends it with button, or the Esc key.
inline Step answer(const Input& input, int button = IDOK) {
    return [input, button](HWND dialog) {
        if (input.size != nullptr)
            SetDlgItemTextW(dialog, IDC_GASP_SIZE, wide(input.size).c_str());
        if (input.unit != 0)
            pressButton(dialog, input.unit);
        for (auto [id, want] : {std::pair{IDC_GASP_GRIDFIT, input.hinting},
                                std::pair{IDC_GASP_DOGRAY, input.smoothing}})
            if (want >= 0 && (IsDlgButtonChecked(dialog, id) == BST_CHECKED) != (want == 1))
                pressButton(dialog, id);
        button == VK_ESCAPE ? pressKey(dialog, VK_ESCAPE) : pressButton(dialog, button);
    };
}

// What a trackbar sends its parent; the position travels only with the thumb codes.
inline void moveTrackbar(HWND trackbar, int position, std::initializer_list<int> codes) {
    SendMessageW(trackbar, TBM_SETPOS, TRUE, position);
    for (int code : codes) {
        bool thumb = code == TB_THUMBTRACK || code == TB_THUMBPOSITION;
        SendMessageW(GetParent(trackbar), WM_HSCROLL, MAKEWPARAM(code, thumb ? position : 0),
                     reinterpret_cast<LPARAM>(trackbar));
    }
}

inline bool chooseItem(HWND list, LRESULT value) { // picked as the list notifies
    for (LRESULT i = 0; i < SendMessageW(list, CB_GETCOUNT, 0, 0); ++i)
        if (SendMessageW(list, CB_GETITEMDATA, static_cast<WPARAM>(i), 0) == value) {
            SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
            SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(list));
            return true;
        }
    return false;
}

// Types text into an edit field and leaves it for the tree, as a click there would.
inline void typeIntoField(HWND edit, const std::string& text) {
    SetFocus(edit);
    setText(edit, text);
    SetFocus(hTreeView);
    pumpMessages();
}

inline void click(HWND button) {
    SendMessageW(button, BM_CLICK, 0, 0);
    pumpMessages();
}

// The replacement dialog filled in and confirmed; records whether it offered
// every font.
inline void replace(const std::wstring& find, const std::wstring& with, bool allFonts,
                    bool* offered = nullptr) {
    ModalAnswerer answerer({[=](HWND dialog) {
        HWND box = GetDlgItem(dialog, IDC_NAME_ALL_FONTS);
        if (offered != nullptr)
            *offered = IsWindowVisible(box) && IsWindowEnabled(box);
        SetDlgItemTextW(dialog, IDC_NAME_FIND, find.c_str());
        SetDlgItemTextW(dialog, IDC_NAME_REPLACE, with.c_str());
        if (allFonts)
            pressButton(dialog, IDC_NAME_ALL_FONTS);
        pressButton(dialog, IDOK);
    }});
    SendMessageW(hNameReplaceButton, BM_CLICK, 0, 0);
    pumpMessages();
    EXPECT_EQ(answerer.answered(), 1);
}
