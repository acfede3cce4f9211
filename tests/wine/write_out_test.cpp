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

#include <optional>

namespace {

const std::vector<std::string> kFilters = {"TrueType,OpenType(TrueTypeアウトライン)(*.ttf)",
                                           "OpenType(*.otf)", "対応する全てのフォント"};
constexpr size_t kOS2Record = 5; // in browserFont's directory

OS2* openOS2() {
    fontObject* table = nullptr;
    return otf && otf->findTable("OS/2", table) ? dynamic_cast<OS2*>(table) : nullptr;
}

ModalAnswerer::Answer describeAndCancel(FileDialogSeen& seen) {
    return [&seen](HWND dialog) {
        seen = describeFileDialog(dialog);
        pressButton(dialog, IDCANCEL);
    };
}

} // namespace

TEST(FileDialogs, OpenAndWriteOutHaveTheirTitlesAndFilters) {
    ProgramWindow program;
    FileDialogSeen open, save;
    ModalAnswerer answerer({describeAndCancel(open), describeAndCancel(save)});
    program.command(IDM_OPEN);
    program.command(IDM_WRITE);
    EXPECT_EQ(answerer.answered(), 2);
    EXPECT_EQ(answerer.leftOpen(), 0);
    EXPECT_EQ(open.title, "フォントファイルを開く");
    EXPECT_EQ(open.filters, kFilters);
    EXPECT_EQ(save.title, "フォントファイルの書き出し");
    EXPECT_EQ(save.filters, kFilters);
}

TEST(FileDialogs, WriteOutAddsTheDefaultExtension) {
    TestFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("in.ttf"), browserFont()));
    ProgramWindow program;
    program.load(folder.file("in.ttf"));
    ModalAnswerer answerer({chooseFile(folder.file("plain"))});
    program.command(IDM_WRITE);
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"in.ttf", "plain.ttf"}));
}

TEST(FileDialogs, OpenAsksForAnExistingFile) {
    TestFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("kept.ttf"), browserFont()));
    ProgramWindow program;
    program.load(folder.file("kept.ttf"));
    const OTF* open = otf.get();
    std::vector<MessageBoxSeen> seen;
    {
        // The dialog refuses the name with a message of its own and stays.
        ModalAnswerer answerer({inSteps({chooseFile(folder.file("missing.ttf")),
                                         [](HWND dialog) { pressButton(dialog, IDCANCEL); }}),
                                recordMessageBox(seen)});
        program.command(IDM_OPEN);
        EXPECT_EQ(answerer.unexpected(), 0);
        EXPECT_EQ(answerer.leftOpen(), 0);
    }
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_EQ(otf.get(), open);
    EXPECT_EQ(treeContents(hTreeView).root, "kept.ttf");
}

TEST(WriteOut, ThroughTheSaveDialogProducesTheFile) {
    TestFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("in.ttf"), browserFont()));
    ProgramWindow program;
    program.load(folder.file("in.ttf"));
    {
        ModalAnswerer answerer({chooseFile(folder.file("out.ttf"))});
        program.command(IDM_WRITE);
        EXPECT_EQ(answerer.answered(), 1);
        EXPECT_EQ(answerer.unexpected(), 0); // no message
    }
    EXPECT_EQ(readBytes(folder.file("out.ttf")), browserFont());
    EXPECT_NE(otf, nullptr);
    EXPECT_EQ(treeContents(hTreeView).root, "in.ttf");
}

TEST(WriteOut, AFailureIsReportedAndTheFontAndItsEditsStay) {
    enum class Target { Locked, ReadOnly };
    for (Target target : {Target::Locked, Target::ReadOnly}) {
        TestFolder folder;
        ASSERT_TRUE(writeBytes(folder.file("in.ttf"), browserFont()));
        const Bytes old = {1, 2, 3, 4};
        ASSERT_TRUE(writeBytes(folder.file("target.ttf"), old));
        ProgramWindow program;
        program.load(folder.file("in.ttf"));
        ASSERT_NE(openOS2(), nullptr);
        openOS2()->usWeightClass = 700;
        const OTF* open = otf.get();

        std::vector<MessageBoxSeen> seen;
        {
            std::optional<FileHandle> lock;
            if (target == Target::Locked)
                lock.emplace(CreateFileA(folder.file("target.ttf").c_str(), GENERIC_READ, 0,
                                         nullptr, OPEN_EXISTING, 0, nullptr));
            else
                ASSERT_TRUE(
                    SetFileAttributesA(folder.file("target.ttf").c_str(), FILE_ATTRIBUTE_READONLY));
            // The save dialog, its question about replacing the file, the error.
            ModalAnswerer answerer({chooseFile(folder.file("target.ttf")),
                                    [](HWND prompt) { pressButton(prompt, IDYES); },
                                    recordMessageBox(seen)});
            program.command(IDM_WRITE);
            EXPECT_EQ(answerer.unexpected(), 0);
            EXPECT_EQ(answerer.leftOpen(), 0);
        }
        SetFileAttributesA(folder.file("target.ttf").c_str(), FILE_ATTRIBUTE_NORMAL);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].text, "ファイルを書き出すことができません。");
        EXPECT_EQ(seen[0].caption, "Error");
        EXPECT_TRUE(seen[0].errorIcon);
        EXPECT_EQ(seen[0].owner, program.handle());
        EXPECT_EQ(readBytes(folder.file("target.ttf")), old);
        EXPECT_EQ(folder.names(), (std::vector<std::string>{"in.ttf", "target.ttf"}));

        EXPECT_EQ(otf.get(), open);
        ASSERT_NE(openOS2(), nullptr);
        EXPECT_EQ(openOS2()->usWeightClass, 700);
        {
            ModalAnswerer answerer({chooseFile(folder.file("out.ttf"))});
            program.command(IDM_WRITE);
            EXPECT_EQ(answerer.unexpected(), 0);
        }
        Bytes out = readBytes(folder.file("out.ttf"));
        ASSERT_EQ(out.size(), browserFont().size());
        EXPECT_EQ(getU16(out, recordOffset(out, kOS2Record) + kOS2WeightAt), 700);
    }
}

TEST(WriteOut, WithNoFontNothingIsWrittenAndNothingSaid) {
    TestFolder folder;
    ProgramWindow program;
    {
        ModalAnswerer answerer({chooseFile(folder.file("out.ttf"))});
        program.command(IDM_WRITE);
        EXPECT_EQ(answerer.answered(), 1);
        EXPECT_EQ(answerer.unexpected(), 0);
        EXPECT_EQ(answerer.leftOpen(), 0);
    }
    EXPECT_TRUE(folder.names().empty());
}

TEST(WriteOut, CancellingWritesNothing) {
    TestFolder folder;
    ASSERT_TRUE(writeBytes(folder.file("in.ttf"), browserFont()));
    ProgramWindow program;
    program.load(folder.file("in.ttf"));
    ModalAnswerer answerer({[](HWND dialog) { pressButton(dialog, IDCANCEL); }});
    program.command(IDM_WRITE);
    EXPECT_EQ(answerer.unexpected(), 0);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"in.ttf"});
}
