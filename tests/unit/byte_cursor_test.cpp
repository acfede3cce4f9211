#include "font/byte_reader.h"
#include "font/byte_writer.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(ByteReader, ReadsBigEndianAndStopsAtTheEnd) {
    const uint8_t bytes[] = {0x12, 0x34, 0x89, 0xAB, 0xCD, 0xEF, 0xFF};
    ByteReader reader(bytes, sizeof bytes);
    uint16_t u16 = 0;
    uint32_t u32 = 0;
    int16_t s16 = 0;
    uint8_t u8 = 0;
    EXPECT_TRUE(reader.readU16(u16) && reader.readU32(u32));
    EXPECT_EQ(u16, 0x1234);
    EXPECT_EQ(u32, 0x89ABCDEFu);
    EXPECT_FALSE(reader.readU16(u16)); // one byte left: the cursor stays
    EXPECT_EQ(reader.offset(), 6u);
    EXPECT_FALSE(reader.seek(8));
    EXPECT_TRUE(reader.seek(5) && reader.readS16(s16));
    EXPECT_EQ(s16, int16_t{-4097}); // 0xEFFF
    EXPECT_FALSE(reader.readU8(u8));
}

TEST(ByteWriter, WritesBigEndianAndNeverPastTheEnd) {
    uint8_t bytes[7] = {};
    ByteWriter writer(bytes, 6);
    EXPECT_TRUE(writer.writeU16(0x1234) && writer.writeU32(0x89ABCDEF));
    EXPECT_FALSE(writer.writeU8(0x55));
    const uint8_t expected[7] = {0x12, 0x34, 0x89, 0xAB, 0xCD, 0xEF, 0x00};
    EXPECT_EQ(0, std::memcmp(bytes, expected, sizeof bytes));
    ByteWriter straddling(bytes, 3);
    EXPECT_TRUE(straddling.writeU16(0xFFFF));
    EXPECT_FALSE(straddling.writeU16(0xFFFF));
    EXPECT_EQ(bytes[2], 0x89);
}
