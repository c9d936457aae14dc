#include "core/image/gradient_ramp.h"

#include <gtest/gtest.h>

namespace quell::image {
namespace {

RampInput Bar(int position, int right, int bottom, bool vertical) {
    RampInput in;
    in.position = position;
    in.clientRight = right;
    in.clientBottom = bottom;
    in.vertical = vertical;
    in.start = 255;
    in.end = 16711680;
    in.background = 7016744;
    return in;
}

TEST(GradientRamp, OutsideStrictRangeFillsBackgroundOnly) {
    struct Case {
        int lower, upper, position;
    } cases[] = {{0, 100, 0}, {0, 100, 100}, {0, 100, 150}, {0, 100, -5}, {10, 100, 10}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        RampInput in = Bar(c.position, 100, 10, false);
        in.lower = c.lower;
        in.upper = c.upper;
        const RampPlan plan = PlanGradientRamp(in);
        EXPECT_FALSE(plan.showsRamp);
        ASSERT_EQ(plan.fills.size(), 1u);
        EXPECT_EQ(plan.fills[0], (RampRect{0, 0, 100, 10, 7016744}));
    }
}

TEST(GradientRamp, HorizontalBarAtHalfRunsToFarEdgeOfBandPassingExtent) {
    const RampPlan plan = PlanGradientRamp(Bar(50, 100, 12, false));
    EXPECT_EQ(plan.extent, 50);
    ASSERT_GE(plan.fills.size(), 2u);
    const RampRect& lastBand = plan.fills[plan.fills.size() - 2];
    EXPECT_EQ(lastBand.right, 51);
    EXPECT_EQ(lastBand.bottom, 13);
    EXPECT_EQ(plan.fills.back(), (RampRect{51, 0, 100, 12, 7016744}));
    // Bands whose edges truncate to the same pixel are still listed, empty.
    int emptyBands = 0;
    for (size_t i = 0; i + 1 < plan.fills.size(); ++i) emptyBands += plan.fills[i].left == plan.fills[i].right;
    EXPECT_GT(emptyBands, 0);
}

TEST(GradientRamp, LastBandStopsShortOfEndColour) {
    const ColourRef white = MakeColourRef(255, 255, 255);
    const ColourRef end = MakeColourRef(0, 128, 255);
    EXPECT_EQ(RampBandColour(white, end, 0), white);
    EXPECT_EQ(RampBandColour(white, end, 254), MakeColourRef(1, 128, 255));
    // Default red to blue: band 254 is one step short of pure blue.
    EXPECT_EQ(RampBandColour(255, 16711680, 254), MakeColourRef(1, 0, 254));
}

TEST(GradientRamp, ExtentNearTheEndStillEndsInBandPassingIt) {
    // 255 pixels at 99 of 100: extent 252, so band 252 (252..253) passes it.
    RampPlan plan = PlanGradientRamp(Bar(99, 255, 5, false));
    EXPECT_EQ(plan.extent, 252);
    ASSERT_EQ(plan.fills.size(), 254u);
    EXPECT_EQ(plan.fills.back(), (RampRect{253, 0, 255, 5, 7016744}));
}

TEST(GradientRamp, PercentageTextRoundsLikePrintf) {
    EXPECT_EQ(FormatRampPercentage(50, 100), "50%");
    EXPECT_EQ(FormatRampPercentage(1, 3), "33%");
    EXPECT_EQ(FormatRampPercentage(2, 3), "67%");
}

}  // namespace
}  // namespace quell::image
