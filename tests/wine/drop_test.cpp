// Files dropped on the main window, in a drop handle built as the shell builds one.
#include "tests/wine/program_windows.h"

#include <shlobj.h>

#include <cstring>

namespace {

// A DROPFILES header, then each wide path and its NUL, and one NUL more.
HGLOBAL dropOf(const std::vector<std::wstring>& paths) {
    std::wstring list;
    for (const std::wstring& path : paths)
        list += path + L'\0';
    list += L'\0';
    const size_t bytes = list.size() * sizeof(wchar_t);
    HGLOBAL drop = GlobalAlloc(GHND, sizeof(DROPFILES) + bytes);
    auto* header = static_cast<DROPFILES*>(GlobalLock(drop));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::memcpy(header + 1, list.data(), bytes);
    GlobalUnlock(drop);
    return drop;
}

} // namespace

// Dropped over an open font: one file opens in its place (or fails with the
// box File -> open shows), two files or a folder leave it; the drop is released.
TEST(Drop, OneFileOpensTwoFilesOrAFolderChangeNothing) {
    const struct {
        std::vector<std::wstring> names; // in the test folder; empty: the folder itself
        std::string root;                // empty: no font open
        bool reported;
    } cases[] = {
        {{L"dropped.ttf"}, "dropped.ttf", false},
        {{L"dropped.ttf", L"cafe.ttf"}, "before.ttf", false},
        {{L""}, "before.ttf", false},
        {{L"missing.ttf"}, "", true},
        {{L"caf\u00E9.ttf"}, "", true}, // no Shift-JIS form; never the look-alike cafe.ttf
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        Session session;
        EXPECT_TRUE(GetWindowLongPtrA(session.program.handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
        ASSERT_TRUE(session.open(sampleFont(), "", "before.ttf"));
        for (const char* name : {"dropped.ttf", "cafe.ttf"})
            ASSERT_TRUE(writeBytes(session.folder.file(name), sampleFont()));
        const std::string folder = session.folder.path();
        std::vector<std::wstring> paths;
        for (const std::wstring& name : c.names)
            paths.push_back(std::wstring(folder.begin(), folder.end()) +
                            (name.empty() ? L"" : L"\\") + name);
        HGLOBAL drop = dropOf(paths);
        std::vector<MessageBoxSeen> seen;
        {
            ModalAnswerer answerer({recordMessageBox(seen)});
            SendMessageA(session.program.handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
            pumpMessages();
        }
        EXPECT_EQ(GlobalFlags(drop), static_cast<UINT>(GMEM_INVALID_HANDLE)) << "not released";
        const std::vector<std::string> tree = treeTexts();
        EXPECT_EQ(tree.empty() ? "" : tree[0], c.root);
        EXPECT_EQ(seen, c.reported ? errorBox("ファイルを開くことができません。", nullptr)
                                   : std::vector<MessageBoxSeen>{});
    }
}
