#include "font/byte_reader.h"
#include "font/byte_writer.h"

#include <gtest/gtest.h>

TEST(ByteReader, ReadsBigEndianAndStopsAtTheEnd) {
    const uint8_t bytes[] = {0x12, 0x34, 0x89, 0xAB, 0xCD, 0xEF, 0x01};
    ByteReader reader(bytes, sizeof bytes);
    uint16_t u16 = 0;
    uint32_t u32 = 0;
    ASSERT_TRUE(reader.readU16(u16));
    EXPECT_EQ(u16, 0x1234);
    ASSERT_TRUE(reader.readU32(u32));
    EXPECT_EQ(u32, 0x89ABCDEFu);
    // One byte left: a 16-bit read fails and leaves the cursor where it was.
    EXPECT_FALSE(reader.readU16(u16));
    EXPECT_EQ(reader.offset(), 6u);
    uint8_t last = 0;
    EXPECT_TRUE(reader.readU8(last));
    EXPECT_EQ(last, 0x01);
    EXPECT_FALSE(reader.readU8(last));
    EXPECT_FALSE(reader.seek(8));
    EXPECT_TRUE(reader.seek(7));
}

TEST(ByteReader, SignedReadKeepsTheSign) {
    const uint8_t bytes[] = {0xFF, 0xFE};
    ByteReader reader(bytes, sizeof bytes);
    int16_t value = 0;
    ASSERT_TRUE(reader.readS16(value));
    EXPECT_EQ(value, -2);
}

TEST(ByteWriter, WritesBigEndianAndNeverPastTheEnd) {
    uint8_t bytes[7] = {};
    ByteWriter writer(bytes, 6);
    EXPECT_TRUE(writer.writeU16(0x1234));
    EXPECT_TRUE(writer.writeU32(0x89ABCDEF));
    EXPECT_FALSE(writer.writeU8(0x55));
    const uint8_t expected[7] = {0x12, 0x34, 0x89, 0xAB, 0xCD, 0xEF, 0x00};
    EXPECT_EQ(0, memcmp(bytes, expected, sizeof bytes));
    ByteWriter shortWriter(bytes, 3);
    EXPECT_TRUE(shortWriter.writeU16(0xFFFF));
    EXPECT_FALSE(shortWriter.writeU16(0xFFFF)); // would straddle the end
    EXPECT_EQ(bytes[2], 0x89);
}
