#include "font/file_handle.h"
#include "font/font_file.h"
#include "tables/os2/os2.h"
#include "tests/wine/wine_test_files.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

struct OpenFont {
    FileImage image;
    std::unique_ptr<OTF> otf;
    int32_t length = 0;

    bool load(const std::string& path) {
        length = loadFontFile(path.c_str(), image, otf);
        return length != 0;
    }
    bool write(const std::string& path) {
        return writeFontFile(path.c_str(), length, image.get(), otf.get());
    }
    OS2* os2() const {
        fontObject* object = nullptr;
        return otf->findTable("OS/2", object) ? dynamic_cast<OS2*>(object) : nullptr;
    }
};

FileHandle holdOpen(const std::string& path) {
    return FileHandle(
        CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
}

} // namespace

TEST(FontFileLoad, RoundTripIsByteForByte) {
    TestFolder folder;
    Bytes font = sampleFont();
    ASSERT_TRUE(writeBytes(folder.file("in.ttf"), font));
    OpenFont open;
    ASSERT_TRUE(open.load(folder.file("in.ttf")));
    EXPECT_EQ(open.length, static_cast<int32_t>(font.size()));
    ASSERT_TRUE(open.write(folder.file("out.ttf")));
    EXPECT_EQ(readBytes(folder.file("out.ttf")), font);
}

TEST(FontFileWrite, OverTheOpenedFileWorks) {
    TestFolder folder;
    std::string path = folder.file("font.ttf");
    ASSERT_TRUE(writeBytes(path, sampleFont()));
    OpenFont open;
    ASSERT_TRUE(open.load(path));
    ASSERT_NE(open.os2(), nullptr);
    open.os2()->usWeightClass = 700;
    ASSERT_TRUE(open.write(path));
    Bytes written = readBytes(path);
    ASSERT_EQ(written.size(), sampleFont().size());
    uint32_t os2At = recordOffset(written, 2);
    EXPECT_EQ(getU16(written, os2At + kOS2WeightAt), 700);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"font.ttf"});
}

// A read-only file and one another handle holds open can neither be opened
// nor written over; a missing file or folder, an empty or a short file
// fail too. Nothing changes: not the open font, not the target.
TEST(FontFileWrite, FailuresLeaveTheFontAndTheTargetAsTheyWere) {
    TestFolder folder;
    const Bytes font = sampleFont(), before = filler(100, 0x77);
    ASSERT_TRUE(writeBytes(folder.file("good.ttf"), font));
    ASSERT_TRUE(writeBytes(folder.file("empty.ttf"), {}));
    ASSERT_TRUE(writeBytes(folder.file("short.ttf"), Bytes(font.begin(), font.begin() + 40)));
    ASSERT_TRUE(writeBytes(folder.file("locked.ttf"), before));
    ASSERT_TRUE(writeBytes(folder.file("readonly.ttf"), before));
    ASSERT_TRUE(SetFileAttributesA(folder.file("readonly.ttf").c_str(), FILE_ATTRIBUTE_READONLY));
    FileHandle lock = holdOpen(folder.file("locked.ttf"));
    ASSERT_TRUE(lock.isOpen());

    OpenFont open;
    ASSERT_TRUE(open.load(folder.file("good.ttf")));
    ASSERT_NE(open.os2(), nullptr);
    open.os2()->usWeightClass = 900;
    const uint8_t* image = open.image.get();
    const OTF* otf = open.otf.get();
    for (const char* name :
         {"missing.ttf", "empty.ttf", "short.ttf", "readonly.ttf", "locked.ttf"}) {
        EXPECT_EQ(loadFontFile(folder.file(name).c_str(), open.image, open.otf), 0) << name;
        EXPECT_EQ(open.image.get(), image) << name;
        EXPECT_EQ(open.otf.get(), otf) << name;
    }
    for (const char* name : {"no-such-folder\\out.ttf", "locked.ttf", "readonly.ttf"})
        EXPECT_FALSE(open.write(folder.file(name))) << name;
    EXPECT_FALSE(
        writeFontFile(folder.file("no-font.ttf").c_str(), open.length, open.image.get(), nullptr));
    lock.close();
    EXPECT_EQ(readBytes(folder.file("locked.ttf")), before);
    EXPECT_EQ(readBytes(folder.file("readonly.ttf")), before);
    // No temporary file is left behind, and the font can still be written.
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"empty.ttf", "good.ttf", "locked.ttf",
                                                        "readonly.ttf", "short.ttf"}));
    ASSERT_TRUE(open.write(folder.file("out.ttf")));
    EXPECT_EQ(getU16(readBytes(folder.file("out.ttf")), recordOffset(font, 2) + kOS2WeightAt), 900);
}

TEST(RealFonts, EveryCorpusFontRoundTripsByteForByte) {
    std::vector<std::string> fonts = corpusFonts();
    ASSERT_GE(fonts.size(), 3u) << "the corpus font packages are not installed";
    TestFolder folder;
    for (const std::string& font : fonts) {
        Bytes original = readBytes(font);
        ASSERT_FALSE(original.empty()) << font;
        // Work on a copy: the load opens its file for writing.
        ASSERT_TRUE(writeBytes(folder.file("in.ttf"), original));
        OpenFont open;
        ASSERT_TRUE(open.load(folder.file("in.ttf"))) << font;
        ASSERT_TRUE(open.write(folder.file("out.ttf"))) << font;
        EXPECT_TRUE(readBytes(folder.file("out.ttf")) == original) << font;
    }
}
