// Every malformed file of the shared list, opened by the container and, when
// it opens, written out unedited and then edited through both models: the
// outcome must be the listed one and no byte outside the image, or outside
// what the table objects read, may change.
#include "font/otf.h"
#include "tables/gasp/gasp_header.h"
#include "tables/os2/os2.h"
#include "tests/support/guarded_image.h"
#include "tests/support/malformed_fonts.h"
#include "tests/support/model_edits.h"
#include "tests/support/write_bounds.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

namespace {

struct RecordShape {
    std::string tag;
    uint32_t offset;
    uint32_t length;
    bool operator==(const RecordShape& other) const {
        return tag == other.tag && offset == other.offset && length == other.length;
    }
};

std::vector<RecordShape> shapes(const OTF& otf) {
    std::vector<RecordShape> result;
    for (const TableRecord& record : otf.tableRecords)
        result.push_back({record.tag, record.offset, record.length});
    return result;
}

// A range limit that none of the listed fonts uses, so the replacement is
// never refused as a duplicate.
constexpr uint16_t kFreeMaxPPEM = 12345;

class MalformedFontTest : public testing::TestWithParam<MalformedFont> {};

std::string caseName(const testing::TestParamInfo<MalformedFont>& info) {
    std::string name = info.param.name;
    for (char& c : name)
        if (c == '-')
            c = '_';
    return name;
}

} // namespace

// Names the case in test output instead of dumping its bytes.
void PrintTo(const MalformedFont& font, std::ostream* out) {
    *out << font.name;
}

TEST(MalformedFontList, HoldsTwentyNamedCasesOfEveryOutcome) {
    const std::vector<MalformedFont> fonts = malformedFonts();
    EXPECT_GE(fonts.size(), 20u);
    std::set<std::string> names;
    std::set<MalformedOutcome> outcomes;
    for (const MalformedFont& font : fonts) {
        EXPECT_TRUE(names.insert(font.name).second) << "listed twice: " << font.name;
        EXPECT_FALSE(font.name.empty());
        for (char c : font.name)
            EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c)) || c == '-') << font.name;
        outcomes.insert(font.outcome);
    }
    EXPECT_EQ(outcomes.size(), 3u) << "every outcome needs at least one case";
}

TEST_P(MalformedFontTest, OpensOrIsRefusedAndNeverWritesOutside) {
    const MalformedFont& font = GetParam();
    SCOPED_TRACE(outcomeName(font.outcome));
    GuardedImage image(font.bytes);
    OTF otf(image.data(), image.size());

    if (font.outcome == MalformedOutcome::Refused) {
        EXPECT_FALSE(otf.valid);
        EXPECT_TRUE(otf.tableRecords.empty());
        EXPECT_TRUE(otf.tableObjects.empty());
        otf.writeTable(image.data(), image.size());
        EXPECT_EQ(image.bytes(), font.bytes);
        EXPECT_TRUE(image.guardsIntact());
        return;
    }
    ASSERT_TRUE(otf.valid);
    ASSERT_EQ(otf.tableRecords.size(), otf.numTables);
    for (const TableRecord& record : otf.tableRecords) {
        fontObject* object = nullptr;
        EXPECT_TRUE(otf.findTable(record.tag, object)) << record.tag;
    }
    const std::vector<RecordShape> before = shapes(otf);
    const std::vector<bool> writable = writableBytes(otf, image.size());

    // Written out as read, every table passes through untouched.
    EXPECT_TRUE(otf.writeTable(image.data(), image.size()));
    EXPECT_EQ(image.bytes(), font.bytes) << "unedited write-out changed the image";
    EXPECT_TRUE(image.guardsIntact());

    ModelEdits edits;
    edits.gaspMaxPPEM = kFreeMaxPPEM;
    edits.gaspFlags = GASP_GRIDFIT | GASP_DOGRAY;
    editThroughModels(otf, edits);
    EXPECT_TRUE(otf.writeTable(image.data(), image.size()));
    EXPECT_TRUE(image.guardsIntact()) << "a write passed the end of the image";
    const Bytes after = image.bytes();
    std::optional<size_t> stray =
        strayChange(font.bytes.data(), after.data(), after.size(), writable);
    EXPECT_FALSE(stray.has_value()) << "byte " << *stray << " changed outside the tables' fields";
    EXPECT_TRUE(shapes(otf) == before) << "a record moved or changed size";
    if (font.outcome == MalformedOutcome::PassesThrough)
        EXPECT_EQ(after, font.bytes) << "an edit reached a table that has no valid object";
    else
        EXPECT_NE(after, font.bytes) << "the edits never reached the image";
}

INSTANTIATE_TEST_SUITE_P(Malformed, MalformedFontTest, testing::ValuesIn(malformedFonts()),
                         caseName);
