#include "core/skin/outline_file.h"

#include <gtest/gtest.h>

using namespace quell::skin;

namespace {
std::vector<uint8_t> withCount(int32_t n, size_t pointsPresent) {
    std::vector<OutlinePoint> points(pointsPresent, OutlinePoint{1, 2});
    auto bytes = EncodeOutline(points);
    auto u = static_cast<uint32_t>(n);
    for (int i = 0; i < 4; ++i) bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(u >> (8 * i));
    return bytes;
}
}  // namespace

TEST(OutlineFile, RoundTripsPoints) {
    std::vector<OutlinePoint> points = {{5, 3}, {795, 3}, {795, 592}, {-4, 600}};
    auto parsed = ParseOutline(EncodeOutline(points));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(*parsed, points);
}

TEST(OutlineFile, RejectsCountsTheBytesCannotHold) {
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"shorter than the count", {1, 0, 0}},
        {"points missing at the end", withCount(3, 2)},
        {"one byte short",
         [] {
             auto b = withCount(2, 2);
             b.pop_back();
             return b;
         }()},
        {"count above 8191", withCount(8192, 8192)},
        {"negative count", withCount(-1, 0)},
        {"zero points", withCount(0, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(ParseOutline(c.bytes));
    }
}

TEST(OutlineFile, AcceptsTheLargestCountAndIgnoresTrailingBytes) {
    auto largest = withCount(8191, 8191);
    EXPECT_EQ(largest.size(), 65532u);
    auto parsed = ParseOutline(largest);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->size(), 8191u);
    auto extra = withCount(2, 2);
    extra.insert(extra.end(), 100, 0xAB);
    EXPECT_EQ(ParseOutline(extra)->size(), 2u);
}

TEST(OutlineFile, MissingFileIsNoOutline) { EXPECT_FALSE(LoadOutlineFile("/nonexistent/a.dat")); }
