// The sample font that scripts/run opens: a regenerated file must still carry
// both editable tables and pass through a write-out unchanged.
#include "font/otf.h"
#include "tables/gasp/gasp_header.h"
#include "tables/os2/os2.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

TEST(SampleFont, LoadsWithOS2Version4AndThreeGaspRangesAndRoundTrips) {
    std::ifstream in(FONTAB_SOURCE_DIR "/tests/fixtures/sample.ttf", std::ios::binary);
    const std::vector<uint8_t> original{std::istreambuf_iterator<char>(in),
                                        std::istreambuf_iterator<char>()};
    ASSERT_FALSE(original.empty()) << "tests/fixtures/sample.ttf is missing";
    std::vector<uint8_t> image = original;
    OTF otf(image.data(), image.size());
    ASSERT_TRUE(otf.valid);
    fontObject* object = nullptr;
    ASSERT_TRUE(otf.findTable("OS/2", object));
    auto* os2 = dynamic_cast<OS2*>(object);
    ASSERT_TRUE(os2 != nullptr && os2->valid);
    EXPECT_EQ(os2->version, 4);
    ASSERT_TRUE(otf.findTable("gasp", object));
    auto* gasp = dynamic_cast<gaspHeader*>(object);
    ASSERT_NE(gasp, nullptr);
    EXPECT_EQ(gasp->ranges.size(), 3u);
    EXPECT_TRUE(otf.writeTable(image.data(), image.size()));
    EXPECT_EQ(image, original);
}
