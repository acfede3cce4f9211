#include "font/otf.h"
#include "tables/gasp/gasp_header.h"
#include "tables/os2/os2.h"
#include "tests/support/sfnt_builder.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Writes the container back into a copy of its image; returns the copy.
Bytes writtenBack(OTF& otf, Bytes image) {
    EXPECT_TRUE(otf.writeTable(image.data(), image.size()));
    return image;
}

} // namespace

TEST(Container, KeepsDirectoryOrderAndGivesObjectsOnlyToItsTwoTags) {
    Bytes image = SfntBuilder()
                      .sfntVersion(0x4F54544F)
                      .table("gasp", gaspTable(0, {{0xFFFF, 3}}))
                      .table("cmap", filler(8))
                      .table("OS/2", os2Table(1))
                      .table("os/2", os2Table(1))
                      .table("GASP", gaspTable(0, {}))
                      .build();
    OTF otf(image.data(), image.size());
    ASSERT_TRUE(otf.valid);
    EXPECT_EQ(0, std::memcmp(otf.sfntVersion, "OTTO", 4));
    ASSERT_EQ(otf.tableRecords.size(), 5u);
    const char* order[] = {"gasp", "cmap", "OS/2", "os/2", "GASP"};
    for (size_t i = 0; i < 5; ++i)
        EXPECT_STREQ(otf.tableRecords[i].tag, order[i]);

    fontObject* object = nullptr;
    EXPECT_TRUE(otf.findTable("gasp", object));
    EXPECT_NE(dynamic_cast<gaspHeader*>(object), nullptr);
    EXPECT_TRUE(otf.findTable("OS/2", object));
    EXPECT_NE(dynamic_cast<OS2*>(object), nullptr);
    for (const char* tag : {"cmap", "os/2", "GASP"}) {
        EXPECT_TRUE(otf.findTable(tag, object)) << tag;
        EXPECT_EQ(object, nullptr) << tag;
    }
    fontObject* const untouched = &otf;
    object = untouched;
    EXPECT_FALSE(otf.findTable("head", object));
    EXPECT_EQ(object, untouched) << "the out parameter of a missing tag must stay alone";
}

TEST(Container, ZeroRecordsFindNothingAndWriteNothing) {
    Bytes image = SfntBuilder().build();
    OTF otf(image.data(), image.size());
    EXPECT_TRUE(otf.valid);
    EXPECT_TRUE(otf.tableObjects.empty());
    fontObject* object = nullptr;
    EXPECT_FALSE(otf.findTable("OS/2", object));
    EXPECT_EQ(writtenBack(otf, image), image);
}

TEST(Container, SameTagTwiceKeepsTheLaterObjectWrittenAtEveryOffset) {
    Bytes first = gaspTable(0, {{8, 1}, {0xFFFF, 3}});
    Bytes second = gaspTable(0, {{9, 2}, {0xFFFF, 1}});
    Bytes image = SfntBuilder().table("gasp", first).table("gasp", second).build();
    OTF otf(image.data(), image.size());
    ASSERT_EQ(otf.tableObjects.size(), 1u);
    fontObject* object = nullptr;
    ASSERT_TRUE(otf.findTable("gasp", object));
    auto* gasp = dynamic_cast<gaspHeader*>(object);
    ASSERT_NE(gasp, nullptr);
    EXPECT_EQ(gasp->ranges.begin()->first, 9);

    Bytes out = writtenBack(otf, image);
    for (size_t record = 0; record < 2; ++record) {
        uint32_t at = recordOffset(out, record);
        EXPECT_EQ(Bytes(out.begin() + at, out.begin() + at + second.size()), second) << record;
    }
}

TEST(Container, RecordsOutsideTheImageGetNoObjectButStayListed) {
    const Bytes gasp = gaspTable(0, {{8, 1}, {0xFFFF, 2}});
    const uint32_t end = static_cast<uint32_t>(SfntBuilder().table("gasp", gasp).build().size());
    struct Case {
        const char* name;
        uint32_t offset, length;
        bool hasObject;
    } cases[] = {
        {"offset past the end", 0x7FFFFFF0, 8, false},
        {"offset + length wraps", 16, 0xFFFFFFF8, false},
        {"empty table at the very end", end, 0, true},
        {"length past the end is clamped", end - 12, 0x1000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes image = SfntBuilder().table("gasp", gasp).build();
        setRecordOffset(image, 0, c.offset);
        setRecordLength(image, 0, c.length);
        OTF otf(image.data(), image.size());
        fontObject* object = nullptr;
        ASSERT_TRUE(otf.findTable("gasp", object));
        EXPECT_EQ(object != nullptr, c.hasObject);
        EXPECT_EQ(writtenBack(otf, image), image);
    }
}
