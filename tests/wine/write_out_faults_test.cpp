// Write-outs that the file system refuses: a missing folder, a read-only
// target, and (when a small volume is mounted for it) a volume that fills up
// partway. (A target held open by another handle is in write_out_test.cpp.)
// Each must say so, leave the target and its folder as they were, and keep
// the open font with its edit for the next write-out.
#include "app/main_window.h"
#include "res/resource.h"
#include "tables/os2/os2.h"
#include "tests/wine/modal_answerer.h"
#include "tests/wine/program_windows.h"
#include "tests/wine/wine_test_files.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Far larger than what the small volume leaves free, so that its write fails
// after some of it has gone to disk.
constexpr size_t kBulkSize = 256 * 1024;
constexpr size_t kOS2Record = 0;
const Bytes kOldTarget = {1, 2, 3, 4};

Bytes bulkyFont() {
    return SfntBuilder()
        .table("OS/2", os2Table(2))
        .table("head", headTable())
        .table("glyf", filler(kBulkSize))
        .build();
}

OS2* openOS2() {
    return dynamic_cast<OS2*>(openTable("OS/2"));
}

bool exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Opens the bulky font, sets its weight to 700 and writes it out onto target,
// whose failure must show the error and change nothing in watchedFolder; then
// writes it out beside the input and finds the edit there.
void expectFailedWriteOut(const std::string& target, const std::string& watchedFolder) {
    TestFolder work;
    const Bytes font = bulkyFont();
    ASSERT_TRUE(writeBytes(work.file("in.ttf"), font));
    ProgramWindow program;
    program.load(work.file("in.ttf"));
    ASSERT_NE(openOS2(), nullptr);
    openOS2()->usWeightClass = 700;
    const OTF* open = otf.get();

    const bool existed = exists(target);
    const Bytes before = readBytes(target);
    const std::vector<std::string> namesBefore = fileNamesIn(watchedFolder);
    std::vector<MessageBoxSeen> seen;
    {
        std::vector<ModalAnswerer::Answer> answers = {chooseFile(target)};
        if (existed) // the save dialog's question about replacing it
            answers.push_back([](HWND question) { pressButton(question, IDYES); });
        answers.push_back(recordMessageBox(seen));
        ModalAnswerer answerer(answers);
        program.command(IDM_WRITE);
        pumpMessages();
        EXPECT_EQ(answerer.answered(), static_cast<int>(answers.size()));
        EXPECT_EQ(answerer.unexpected(), 0);
        EXPECT_EQ(answerer.leftOpen(), 0);
    }
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "ファイルを書き出すことができません。");
    EXPECT_EQ(seen[0].caption, "Error");
    EXPECT_TRUE(seen[0].errorIcon);
    EXPECT_EQ(exists(target), existed);
    EXPECT_EQ(readBytes(target), before);
    EXPECT_EQ(fileNamesIn(watchedFolder), namesBefore); // no temporary file left

    EXPECT_EQ(otf.get(), open);
    ASSERT_NE(openOS2(), nullptr);
    EXPECT_EQ(openOS2()->usWeightClass, 700);
    ASSERT_TRUE(writeOutAs(program, work.file("out.ttf")));
    const Bytes out = readBytes(work.file("out.ttf"));
    ASSERT_EQ(out.size(), font.size());
    EXPECT_EQ(getU16(out, recordOffset(out, kOS2Record) + kOS2WeightAt), 700);
}

} // namespace

TEST(WriteOutFaults, AMissingFolderOrAReadOnlyTargetChangesNothing) {
    struct Fault {
        const char* name;
        const char* target; // within the folder
        bool readOnly;
    };
    for (const Fault& fault : {Fault{"folder missing", "missing\\out.ttf", false},
                               Fault{"read-only target", "target.ttf", true}}) {
        SCOPED_TRACE(fault.name);
        TestFolder folder;
        const std::string target = folder.file(fault.target);
        if (fault.readOnly) {
            ASSERT_TRUE(writeBytes(target, kOldTarget));
            ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
        }
        expectFailedWriteOut(target, folder.path());
    }
}

// Needs a nearly full volume, which tests/wine/with_small_volume.sh mounts and
// names in FONTAB_SMALL_VOLUME.
TEST(FullVolume, AWriteOutThatRunsOutOfSpaceChangesNothing) {
    const char* volume = std::getenv("FONTAB_SMALL_VOLUME");
    if (volume == nullptr || *volume == '\0')
        GTEST_SKIP() << "FONTAB_SMALL_VOLUME names no volume: run through with_small_volume.sh";
    ULARGE_INTEGER room = {};
    ASSERT_TRUE(GetDiskFreeSpaceExA(volume, &room, nullptr, nullptr)) << volume;
    const std::string target = std::string(volume) + "\\target.ttf";
    ASSERT_TRUE(writeBytes(target, kOldTarget));
    // Room for the temporary file to be created and partly written, not for all of it.
    ASSERT_GT(room.QuadPart, 4096u);
    ASSERT_LT(room.QuadPart, kBulkSize);
    expectFailedWriteOut(target, volume);
    DeleteFileA(target.c_str());
}
