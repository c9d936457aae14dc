// The byte-order readers and the cursor that fails instead of reading past
// the end of its buffer.
#include "core/bytes.h"

#include <gtest/gtest.h>

#include <array>

namespace quell::bytes {
namespace {

constexpr std::array<uint8_t, 6> kSample = {0x01, 0x02, 0x03, 0x04, 0x05, 0xFF};

TEST(ByteReaders, ReadInRangeAndGiveZeroOutOfRange) {
    struct Case {
        const char* name;
        size_t offset;
        uint16_t le16, be16;
        uint32_t le32, be32;
    };
    const Case cases[] = {
        {"start", 0, 0x0201, 0x0102, 0x04030201u, 0x01020304u},
        {"last whole word", 2, 0x0403, 0x0304, 0xFF050403u, 0x030405FFu},
        {"room for 16 bits only", 4, 0xFF05, 0x05FF, 0, 0},
        {"one byte left", 5, 0, 0, 0, 0},
        {"at the end", 6, 0, 0, 0, 0},
        {"past the end", 7, 0, 0, 0, 0},
        {"offset that would wrap", SIZE_MAX - 1, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(readLe16(kSample, c.offset), c.le16);
        EXPECT_EQ(readBe16(kSample, c.offset), c.be16);
        EXPECT_EQ(readLe32(kSample, c.offset), c.le32);
        EXPECT_EQ(readBe32(kSample, c.offset), c.be32);
    }
}

TEST(ByteReaders, WriteLe32RoundTrips) {
    std::array<uint8_t, 4> buffer{};
    writeLe32(buffer.data(), 0x8899AABBu);
    EXPECT_EQ(buffer, (std::array<uint8_t, 4>{0xBB, 0xAA, 0x99, 0x88}));
    EXPECT_EQ(readLe32(buffer, 0), 0x8899AABBu);
}

TEST(ByteCursor, ReadsInOrderWhileTheBytesLast) {
    ByteCursor cursor(kSample);
    EXPECT_EQ(cursor.u8(), 0x01);
    EXPECT_EQ(cursor.be16(), 0x0203);
    EXPECT_EQ(cursor.le16(), 0x0504);
    EXPECT_EQ(cursor.remaining(), 1u);
    EXPECT_EQ(cursor.u8(), 0xFF);
    EXPECT_TRUE(cursor.ok());
    EXPECT_EQ(cursor.remaining(), 0u);
}

TEST(ByteCursor, AShortReadFailsForGood) {
    struct Case {
        const char* name;
        size_t skipFirst;
        int width;  // of the read that runs short
    };
    const Case cases[] = {{"16 bits at the last byte", 5, 16},
                          {"32 bits with three left", 3, 32},
                          {"8 bits at the end", 6, 8},
                          {"block longer than the rest", 2, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ByteCursor cursor(kSample);
        cursor.skip(c.skipFirst);
        ASSERT_TRUE(cursor.ok());
        switch (c.width) {
        case 8: EXPECT_EQ(cursor.u8(), 0); break;
        case 16: EXPECT_EQ(cursor.le16(), 0); break;
        case 32: EXPECT_EQ(cursor.be32(), 0u); break;
        default: EXPECT_TRUE(cursor.bytes(5).empty()); break;
        }
        EXPECT_FALSE(cursor.ok());
        EXPECT_EQ(cursor.remaining(), 0u);
        // Later reads that would fit the original buffer stay refused.
        EXPECT_EQ(cursor.u8(), 0);
        EXPECT_TRUE(cursor.bytes(0).empty());
        EXPECT_FALSE(cursor.ok());
    }
}

TEST(ByteCursor, StartingPastTheEndIsAFailure) {
    ByteCursor cursor(kSample, 7);
    EXPECT_FALSE(cursor.ok());
    EXPECT_EQ(cursor.le32(), 0u);
}

TEST(ByteCursor, BytesGivesAViewOfTheBuffer) {
    ByteCursor cursor(kSample, 1);
    const Bytes middle = cursor.bytes(3);
    ASSERT_EQ(middle.size(), 3u);
    EXPECT_EQ(middle.data(), kSample.data() + 1);
    EXPECT_EQ(cursor.position(), 4u);
    EXPECT_TRUE(cursor.ok());
}

}  // namespace
}  // namespace quell::bytes
