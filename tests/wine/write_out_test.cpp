// The open and write-out dialogs, and writing the open font out through the
// real save dialog.
#include "app/base_window.h"
#include "app/main_window.h"
#include "font/file_handle.h"
#include "res/resource.h"
#include "tables/os2/os2.h"
#include "tests/wine/modal_answerer.h"
#include "tests/wine/program_windows.h"
#include "tests/wine/wine_test_files.h"

#include <gtest/gtest.h>

namespace {

constexpr size_t kOS2Record = 5; // in browserFont's directory

OS2* openOS2() {
    return dynamic_cast<OS2*>(openTable("OS/2"));
}

ModalAnswerer::Answer cancel() {
    return [](HWND dialog) { pressButton(dialog, IDCANCEL); };
}

} // namespace

TEST(FileDialogs, OpenAndWriteOutHaveTheirTitlesAndFilters) {
    ProgramWindow program;
    FileDialogSeen open, save;
    auto describeAndCancel = [](FileDialogSeen& seen) -> ModalAnswerer::Answer {
        return [&seen](HWND dialog) {
            seen = describeFileDialog(dialog);
            pressButton(dialog, IDCANCEL);
        };
    };
    ModalAnswerer answerer({describeAndCancel(open), describeAndCancel(save)});
    program.command(IDM_OPEN);
    program.command(IDM_WRITE);
    EXPECT_EQ(answerer.answered(), 2);
    EXPECT_EQ(answerer.leftOpen(), 0);
    const std::vector<std::string> filters = {"TrueType,OpenType(TrueTypeアウトライン)(*.ttf)",
                                              "OpenType(*.otf)", "対応する全てのフォント"};
    EXPECT_EQ(open.title, "フォントファイルを開く");
    EXPECT_EQ(open.filters, filters);
    EXPECT_EQ(save.title, "フォントファイルの書き出し");
    EXPECT_EQ(save.filters, filters);
}

TEST(WriteOut, ThroughTheSaveDialogProducesTheFile) {
    TestFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("in.ttf"), browserFont()));
    ProgramWindow program;
    program.load(folder.file("in.ttf"));
    {
        // Cancelled first; then a name without extension, which gets ".ttf".
        ModalAnswerer answerer({cancel(), chooseFile(folder.file("out"))});
        program.command(IDM_WRITE);
        EXPECT_EQ(folder.names(), std::vector<std::string>{"in.ttf"});
        program.command(IDM_WRITE);
        EXPECT_EQ(answerer.answered(), 2);
        EXPECT_EQ(answerer.unexpected(), 0); // no message
    }
    EXPECT_EQ(readBytes(folder.file("out.ttf")), browserFont());
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"in.ttf", "out.ttf"}));
    EXPECT_EQ(treeContents(hTreeView).root, "in.ttf");
}

TEST(WriteOut, AFailureIsReportedAndTheFontAndItsEditsStay) {
    TestFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("in.ttf"), browserFont()));
    const Bytes old = {1, 2, 3, 4};
    const std::string target = folder.file("target.ttf");
    ASSERT_TRUE(writeBytes(target, old));
    ProgramWindow program;
    program.load(folder.file("in.ttf"));
    ASSERT_NE(openOS2(), nullptr);
    openOS2()->usWeightClass = 700;
    const OTF* open = otf.get();

    std::vector<MessageBoxSeen> seen;
    {
        FileHandle lock(
            CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(lock.isOpen());
        // The save dialog, its question about replacing the file, the error.
        ModalAnswerer answerer(
            {chooseFile(target), [](HWND q) { pressButton(q, IDYES); }, recordMessageBox(seen)});
        program.command(IDM_WRITE);
        EXPECT_EQ(answerer.unexpected(), 0);
        EXPECT_EQ(answerer.leftOpen(), 0);
    }
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "ファイルを書き出すことができません。");
    EXPECT_EQ(seen[0].caption, "Error");
    EXPECT_TRUE(seen[0].errorIcon);
    EXPECT_EQ(seen[0].owner, program.handle());
    EXPECT_EQ(readBytes(target), old);
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"in.ttf", "target.ttf"}));

    // The same font, edit included, is still there to write.
    EXPECT_EQ(otf.get(), open);
    ASSERT_TRUE(writeOutAs(program, folder.file("out.ttf")));
    Bytes out = readBytes(folder.file("out.ttf"));
    ASSERT_EQ(out.size(), browserFont().size());
    EXPECT_EQ(getU16(out, recordOffset(out, kOS2Record) + kOS2WeightAt), 700);
}
