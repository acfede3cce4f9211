// The shell: start-up arguments, dropped files, the tree and the one pane
// beside it, failed opens and hostile files, and the About box.
#include "tests/wine/program_windows.h"

namespace {
const std::vector<std::string> kPlaceholderOnly = {kPlaceholderPaneClass};
const std::vector<MessageBoxSeen> kNoBox,
    kRefused = errorBox("ファイルを開くことができません。", nullptr);

// The tree's root once message is posted to window and handled (empty: no
// font open), and the boxes it showed.
std::pair<std::string, std::vector<MessageBoxSeen>> afterPosting(HWND window, UINT message,
                                                                 WPARAM wParam, LPARAM lParam) {
    std::vector<MessageBoxSeen> seen;
    {
        ModalAnswerer answerer({recordMessageBox(seen)});
        PostMessageW(window, message, wParam, lParam);
        pumpMessages();
    }
    const std::vector<std::string> tree = treeTexts();
    return {tree.empty() ? "" : tree[0], seen};
}

} // namespace

// WinMain itself: fontab.exe, next to this program (or the packaged one that
// FONTAB_PROGRAM names), started as Windows starts it. One argument opens (the
// root and the five known tables), a name the code page cannot spell in a
// folder it cannot spell too; none, two, or a missing café.ttf (never its
// look-alike cafe.ttf) open nothing; the quit command ends it with 0.
TEST(Startup, TheProgramOpensItsOneArgumentAndQuitsWithZero) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring program = self;
    program.replace(program.find_last_of(L'\\') + 1, std::wstring::npos, L"fontab.exe");
    if (const char* packaged = std::getenv("FONTAB_PROGRAM"))
        program = std::wstring(packaged, packaged + std::strlen(packaged));
    TestFolder folder(unspellableName());
    const std::string unspellable = folder.file(unspellableName() + ".ttf");
    ASSERT_TRUE(codePageLacks(folder.path()));
    ASSERT_TRUE(writeBytes(folder.file("cafe.ttf"), sampleFont()));
    ASSERT_TRUE(writeBytes(unspellable, sampleFont()));
    const std::wstring font = L" \"" + wide(folder.file("cafe.ttf")) + L"\"";
    const std::wstring cafe = font.substr(0, font.size() - 6) + L"\u00E9.ttf\""; // café
    const std::pair<std::wstring, LRESULT> cases[] = {
        {L"", 0}, {font, 6}, {font + font, 0}, {cafe, 0}, {L" \"" + wide(unspellable) + L"\"", 6}};
    for (const auto& [arguments, items] : cases) {
        SCOPED_TRACE(arguments);
        std::wstring commandLine = L"\"" + program + L"\"" + arguments;
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        ASSERT_TRUE(CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                                   nullptr, nullptr, &startup, &process));
        HWND window = nullptr; // its main window, among the top-level ones
        for (int wait = 0; wait < 200 && window == nullptr; ++wait, Sleep(50))
            for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, L"fontab", nullptr)) != nullptr;)
                if (DWORD id = 0; GetWindowThreadProcessId(w, &id) && id == process.dwProcessId)
                    window = w;
        // Its loop handles this before what WinMain posted, and what follows after it.
        SendMessageW(window, WM_NULL, 0, 0);
        HWND base = FindWindowExW(window, nullptr, wide(kBaseWindowClass).c_str(), nullptr);
        LRESULT count = -1;
        for (int wait = 0; wait < 200 && count != items; ++wait, Sleep(50))
            count = SendMessageW(GetDlgItem(base, kTreeViewId), TVM_GETCOUNT, 0, 0);
        EXPECT_TRUE(base != nullptr && count == items) << count;
        // The refusal's box, if any, ends with the program.
        PostMessageW(window, WM_COMMAND, IDM_QUIT, 0);
        if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0)
            TerminateProcess(process.hProcess, 1);
        DWORD exitCode = 1;
        GetExitCodeProcess(process.hProcess, &exitCode);
        EXPECT_EQ(exitCode, 0u);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

// Over an open font: one file opens in its place (or fails with the box an
// open from the menu shows, and leaves it); two files or a folder leave it. The drop is released.
TEST(Drop, OneFileOpensTwoFilesOrAFolderChangeNothing) {
    // The names dropped ("": the test folder itself), the tree's root after and the boxes shown.
    using Case = std::tuple<std::vector<std::wstring>, std::string, std::vector<MessageBoxSeen>>;
    const Case cases[] = {
        {{L"dropped.ttf"}, "dropped.ttf", kNoBox},
        {{L"\u8868.ttf"}, "表.ttf", kNoBox}, // whose second Shift-JIS byte is '\'
        {{L"dropped.ttf", L"cafe.ttf"}, "before.ttf", kNoBox},
        {{L""}, "before.ttf", kNoBox},
        {{std::wstring(600, L'm')}, "before.ttf", kRefused}, // missing, and longer than MAX_PATH
        {{L"caf\u00E9.ttf"}, "before.ttf", kRefused}, // missing: never the look-alike cafe.ttf
        {{wide(unspellableName() + ".ttf")}, unspellableName() + ".ttf", kNoBox},
    };
    int index = 0;
    for (const auto& [names, root, boxes] : cases) {
        SCOPED_TRACE(testing::Message() << "case " << index++);
        Session session(unspellableName());
        EXPECT_TRUE(GetWindowLongPtrW(session.program.handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
        ASSERT_TRUE(session.open(sampleFont(), "", "before.ttf"));
        for (const std::string& name : std::vector<std::string>{"dropped.ttf", "cafe.ttf", "表.ttf",
                                                                unspellableName() + ".ttf"})
            ASSERT_TRUE(writeBytes(session.folder.file(name), sampleFont()));
        HGLOBAL drop = dropOf(session.folder.path(), names);
        EXPECT_EQ(
            afterPosting(session.program.handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0),
            std::make_pair(root, boxes));
        EXPECT_EQ(GlobalFlags(drop), static_cast<UINT>(GMEM_INVALID_HANDLE)) << "not released";
    }
}

// Known tags in tag order under the file name; each item one pane of its class.
TEST(TableTree, OrderAndOnePaneAtATime) {
    Session session;
    ASSERT_TRUE(session.open(sampleFont(), "", "panes.ttf"));
    EXPECT_EQ(treeTexts(),
              (std::vector<std::string>{"panes.ttf", "cmap", "head", "OS/2", "cvt ", "gasp"}));
    EXPECT_EQ(paneClasses(), kPlaceholderOnly);
    const std::pair<const char*, const char*> selections[] = {
        {"gasp", kGaspPaneClass}, {"cmap", kPlaceholderPaneClass},
        {"OS/2", kOS2PaneClass},  {"panes.ttf", kPlaceholderPaneClass},
        {"gasp", kGaspPaneClass}, {"cvt ", kPlaceholderPaneClass},
    };
    for (const auto& [item, paneClass] : selections) {
        HWND before = hPane;
        ASSERT_TRUE(selectItem(item)) << item;
        EXPECT_EQ(paneClasses(), std::vector<std::string>{paneClass}) << item;
        EXPECT_FALSE(IsWindow(before)) << item;
        RECT pane = rectInParent(hPane);
        EXPECT_EQ(std::vector<LONG>({pane.left, pane.right, pane.bottom}),
                  std::vector<LONG>({splitPos + 1, clientWidth, clientHeight}))
            << item;
    }
    // A font opens on the placeholder whatever it is called; a root named like a
    // tag the font does not hold gets no editor.
    ASSERT_TRUE(selectItem("gasp"));
    ASSERT_TRUE(session.open(SfntBuilder().table("head", headTable()).build(), "", "gasp"));
    EXPECT_EQ(paneClasses(), kPlaceholderOnly);
    ASSERT_TRUE(selectItem("head") && selectItem("gasp"));
    EXPECT_EQ(paneClasses(), kPlaceholderOnly);
}

// Each file of the fuzz corpus, opened over an open font as the open dialog
// and a drop open it: refused with one box and the open font kept as it was,
// or opened with every item safe to show; either way the status bar is empty
// again. (Written out unedited as read: the corpus replay, on the same write-out.)
TEST(HostileFiles, EachIsRefusedWithOneBoxOrOpensWithEveryItemSafe) {
    std::string corpus = "Z:" FONTAB_SOURCE_DIR "/tests/fuzz/corpus";
    std::replace(corpus.begin(), corpus.end(), '/', '\\');
    const std::vector<std::string> names = fileNamesIn(corpus);
    ASSERT_GE(names.size(), 10u) << corpus;
    int refused = 0;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        Session session;
        ASSERT_TRUE(session.open(sampleFont(), "gasp", "good.ttf"));
        const auto good = std::make_tuple(treeTexts(), hPane);
        std::vector<MessageBoxSeen> seen;
        {
            ModalAnswerer answerer({recordMessageBox(seen)});
            session.open(readBytes(corpus + "\\" + name));
            pumpMessages();
        }
        ASSERT_TRUE(IsWindow(session.program.handle()));
        EXPECT_EQ(windowText(hStatusBar), ""); // no load still under way
        if (seen.empty()) {
            EXPECT_EQ(treeTexts().at(0), "in.ttf");
            for (const std::string& item : treeTexts()) {
                EXPECT_TRUE(selectItem(item)) << item;
                ASSERT_TRUE(IsWindow(session.program.handle())) << item;
                EXPECT_EQ(paneClasses().size(), 1u) << item;
            }
            continue;
        }
        ++refused;
        EXPECT_EQ(seen, kRefused);
        EXPECT_EQ(std::make_tuple(treeTexts(), hPane), good); // the very pane, not a new one
    }
    EXPECT_GT(refused, 0);
}

// Esc leaves it open; its button closes it.
TEST(AboutBox, EscLeavesItOpenItsButtonClosesIt) {
    ProgramWindow program;
    bool openAfterEsc = false;
    ModalAnswerer answerer({[&openAfterEsc](HWND box) {
        pressKey(box, VK_ESCAPE);
        openAfterEsc = IsWindowVisible(box) != 0;
        pressButton(box, IDOK);
    }});
    program.command(IDM_ABOUT);
    EXPECT_TRUE(openAfterEsc);
    EXPECT_EQ(answerer.answered(), 1);
}
