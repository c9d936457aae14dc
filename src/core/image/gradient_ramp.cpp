#include "core/image/gradient_ramp.h"

#include <cstdio>

namespace quell::image {
namespace {

// 1/255 held as a 32-bit float; the ramp's steps are all taken in float so
// that band edges and colours land exactly where the original arithmetic puts them.
constexpr float kBandFraction = 1.0f / 255.0f;
constexpr int kBandCount = 255;

struct ChannelStep {
    float start;
    float increment;
};

ChannelStep StepFor(uint8_t from, uint8_t to) {
    const int delta = static_cast<int>(to) - static_cast<int>(from);
    return {static_cast<float>(from), static_cast<float>(delta) * kBandFraction};
}

uint8_t ChannelAt(const ChannelStep& step, int band) {
    const float value = static_cast<float>(band) * step.increment + step.start;
    return static_cast<uint8_t>(static_cast<int>(value) & 0xFF);
}

}  // namespace

ColourRef RampBandColour(ColourRef start, ColourRef end, int band) {
    const ChannelStep r = StepFor(RedOf(start), RedOf(end));
    const ChannelStep g = StepFor(GreenOf(start), GreenOf(end));
    const ChannelStep b = StepFor(BlueOf(start), BlueOf(end));
    return MakeColourRef(ChannelAt(r, band), ChannelAt(g, band), ChannelAt(b, band));
}

RampPlan PlanGradientRamp(const RampInput& in) {
    RampPlan plan;
    if (!(in.lower < in.position && in.position < in.upper)) {
        plan.fills.push_back({0, 0, in.clientRight, in.clientBottom, in.background});
        return plan;
    }
    plan.showsRamp = true;
    const int size = in.vertical ? in.clientBottom : in.clientRight;
    // upper > position > lower, so upper is never zero here.
    plan.extent =
        static_cast<int>(static_cast<double>(in.position) / static_cast<double>(in.upper) * static_cast<double>(size));

    const ChannelStep r = StepFor(RedOf(in.start), RedOf(in.end));
    const ChannelStep g = StepFor(GreenOf(in.start), GreenOf(in.end));
    const ChannelStep b = StepFor(BlueOf(in.start), BlueOf(in.end));
    const float bandSize = static_cast<float>(size) * kBandFraction;

    for (int i = 0; i < kBandCount; ++i) {
        const int nearEdge = static_cast<int>(static_cast<float>(i) * bandSize);
        const int farEdge = static_cast<int>(static_cast<float>(i + 1) * bandSize);
        const ColourRef colour = MakeColourRef(ChannelAt(r, i), ChannelAt(g, i), ChannelAt(b, i));
        if (in.vertical) plan.fills.push_back({0, nearEdge, in.clientRight + 1, farEdge, colour});
        else plan.fills.push_back({nearEdge, 0, farEdge, in.clientBottom + 1, colour});
        if (farEdge > plan.extent) {
            if (in.vertical) plan.fills.push_back({0, farEdge, in.clientRight, in.clientBottom, in.background});
            else plan.fills.push_back({farEdge, 0, in.clientRight, in.clientBottom, in.background});
            break;
        }
    }
    return plan;
}

std::string FormatRampPercentage(int position, int upper) {
    char text[64];
    std::snprintf(text, sizeof text, "%.0f%%", static_cast<double>(position) * 100.0 / static_cast<double>(upper));
    return text;
}

}  // namespace quell::image
