// Writing the open font out: unedited and edited, and refused by the file system.
#include "tests/wine/program_windows.h"

namespace {

const char kCannotWrite[] = "ファイルを書き出すことができません。";
const Bytes kOldTarget = {1, 2, 3, 4};
constexpr size_t kBulkSize = 256 * 1024; // far more than the small volume leaves free

Bytes bulkyFont() {
    return SfntBuilder()
        .table("OS/2", os2Table(2))
        .table("head", headTable())
        .table("glyf", filler(kBulkSize))
        .build();
}

// Opens the bulky font, sets its weight to 700 and writes it onto target: one
// error box, target and its folder unchanged, and the edit still unsaved and there to write.
void expectFailedWriteOut(const std::string& target, const std::string& watchedFolder) {
    Session work;
    ASSERT_TRUE(work.open(bulkyFont()));
    ASSERT_NE(otf->tableOf<OS2>("OS/2"), nullptr);
    otf->tableOf<OS2>("OS/2")->usWeightClass = 700;
    const bool existed = GetFileAttributesW(wide(target).c_str()) != INVALID_FILE_ATTRIBUTES;
    const Bytes before = readBytes(target);
    const std::vector<std::string> namesBefore = fileNamesIn(watchedFolder);
    std::vector<MessageBoxSeen> seen;
    {
        std::vector<Step> answers = {chooseFile(target)};
        if (existed) // the save dialog asks whether to replace it
            answers.push_back(press(IDYES));
        answers.push_back(recordMessageBox(seen));
        ModalAnswerer answerer(answers);
        work.program.command(IDM_WRITE);
        pumpMessages();
        EXPECT_EQ(answerer.answered(), static_cast<int>(answers.size()));
    }
    EXPECT_EQ(seen, errorBox(kCannotWrite, work.program.handle()));
    EXPECT_EQ(readBytes(target), before);
    EXPECT_EQ(fileNamesIn(watchedFolder), namesBefore);                    // no temporary file left
    EXPECT_EQ(windowText(work.program.handle()), "fontab - Tablesmith *"); // still unsaved
    const Bytes out = work.writeOut();
    ASSERT_EQ(out.size(), work.font.size());
    EXPECT_EQ(getU16(out, recordOffset(out, 0) + kOS2WeightAt), 700);
    EXPECT_EQ(windowText(work.program.handle()), "fontab - Tablesmith");
}

} // namespace

// A name without extension gets ".ttf"; a cancel writes nothing. Edited
// through both panes, the new values are in place and nothing else changed
// but the checksums (their values: the native WriteOut cases, on the same
// write-out); set back through the panes, the next write-out is the file as read.
TEST(WriteOut, UneditedIsByteIdenticalEditedHoldsTheValuesSetBackIsAsReadWithFileDialog) {
    Session session;
    ASSERT_TRUE(session.open(sampleFont()));
    const TestFolder& folder = session.folder;
    ProgramWindow& program = session.program;
    {
        ModalAnswerer answerer({press(IDCANCEL), chooseFile(folder.file("out"))});
        program.command(IDM_WRITE);
        EXPECT_EQ(fileNamesIn(folder.path()), std::vector<std::string>{"in.ttf"});
        program.command(IDM_WRITE);
        EXPECT_EQ(answerer.answered(), 2);
    }
    EXPECT_EQ(readBytes(folder.file("out.ttf")), sampleFont());
    // Weight 400 and the first range's 0x000A (bits 1 and 3) as read; the dialog sets bits 0 and 1.
    auto edit = [](int weight, bool hinting) {
        ASSERT_TRUE(selectItem("OS/2"));
        moveTrackbar(hWeightTrackbar, weight, {TB_ENDTRACK});
        ASSERT_TRUE(selectItem("gasp"));
        editRow(0, {answer({"8", IDC_GASP_PPEM, hinting, !hinting})});
    };
    edit(9, true);
    {
        ModalAnswerer answerer({chooseFile(folder.file("in.ttf")), press(IDYES)}); // over itself
        program.command(IDM_WRITE);
        EXPECT_EQ(answerer.answered(), 2);
    }
    const Bytes out = readBytes(folder.file("in.ttf"));
    ASSERT_EQ(out.size(), sampleFont().size());
    EXPECT_EQ(brokenWrite(sampleFont(), out), "");
    EXPECT_EQ(getU16(out, recordOffset(out, 5) + 4), 900);         // OS/2 usWeightClass
    EXPECT_EQ(getU32(out, recordOffset(out, 0) + 4), 0x00080009u); // gasp's first range
    edit(4, false);
    EXPECT_EQ(session.writeOut("back.ttf"), sampleFont());
}

// Held open without any sharing, the target is refused before anything is
// written; held open sharing all but its deletion, only the final move onto
// it fails, and the temporary file goes.
TEST(WriteOutFaults, MissingFolderHeldOpenOrReadOnlyTargetChangesNothingWithFileDialog) {
    // The target, and the access and sharing of a handle held open on it.
    const std::tuple<const char*, DWORD, DWORD> faults[] = {
        {"missing\\out.ttf", 0, 0},
        {"held.ttf", GENERIC_READ, 0},
        {"shared.ttf", FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE},
        {"readonly.ttf", 0, 0}};
    for (auto [fault, access, sharing] : faults) {
        SCOPED_TRACE(fault);
        TestFolder folder;
        const std::string target = folder.file(fault);
        ASSERT_TRUE(fault[0] == 'm' || writeBytes(target, kOldTarget));
        ASSERT_TRUE(fault[0] != 'r' ||
                    SetFileAttributesW(wide(target).c_str(), FILE_ATTRIBUTE_READONLY));
        FileHandle lock(access ? CreateFileW(wide(target).c_str(), access, sharing, nullptr,
                                             OPEN_EXISTING, 0, nullptr)
                               : INVALID_HANDLE_VALUE);
        expectFailedWriteOut(target, folder.path());
    }
}

// Needs a nearly full volume, which with_small_volume.sh mounts and names in
// FONTAB_SMALL_VOLUME.
TEST(FullVolume, AWriteOutThatRunsOutOfSpaceChangesNothingWithFileDialog) {
    const char* volume = std::getenv("FONTAB_SMALL_VOLUME");
    if (volume == nullptr || *volume == '\0')
        GTEST_SKIP() << "FONTAB_SMALL_VOLUME names no volume: run through with_small_volume.sh";
    ULARGE_INTEGER room = {};
    ASSERT_TRUE(GetDiskFreeSpaceExW(wide(volume).c_str(), &room, nullptr, nullptr)) << volume;
    // Room for the temporary file to be created and partly written, not for all of it.
    ASSERT_GT(room.QuadPart, 4096u);
    ASSERT_LT(room.QuadPart, kBulkSize);
    const std::string target = std::string(volume) + "\\target.ttf";
    ASSERT_TRUE(writeBytes(target, kOldTarget));
    expectFailedWriteOut(target, volume);
    DeleteFileW(wide(target).c_str());
}
