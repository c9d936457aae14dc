#pragma once
// Geometry and colours of the progress bar's 255-band colour ramp. The bar's
// painter only fills the rectangles this produces; every float step and
// truncation lives here so it can be checked without a window system.
#include <cstdint>
#include <string>
#include <vector>

namespace quell::image {

// Colours are 0x00BBGGRR: red in the low byte, then green, then blue.
using ColourRef = uint32_t;

constexpr uint8_t RedOf(ColourRef c) { return static_cast<uint8_t>(c & 0xFF); }
constexpr uint8_t GreenOf(ColourRef c) { return static_cast<uint8_t>((c >> 8) & 0xFF); }
constexpr uint8_t BlueOf(ColourRef c) { return static_cast<uint8_t>((c >> 16) & 0xFF); }
constexpr ColourRef MakeColourRef(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<ColourRef>(r) | (static_cast<ColourRef>(g) << 8) | (static_cast<ColourRef>(b) << 16);
}

struct RampRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    ColourRef colour = 0;
    bool operator==(const RampRect&) const = default;
};

struct RampInput {
    int lower = 0;
    int upper = 100;
    int position = 0;
    bool vertical = false;
    // The client rectangle's right and bottom edges; it starts at 0, 0.
    int clientRight = 0;
    int clientBottom = 0;
    ColourRef start = 0;
    ColourRef end = 0;
    ColourRef background = 0;
};

struct RampPlan {
    // False when the position is outside the strict range: the whole client
    // rectangle is then filled with the background colour.
    bool showsRamp = false;
    // Pixels of the bar the position covers, truncated toward zero.
    int extent = 0;
    // Filled in order; the last one is the background remainder when the
    // ramp stopped at the band that passed the extent.
    std::vector<RampRect> fills;
};

// The colour of band i (0..254) of a ramp from start towards end.
ColourRef RampBandColour(ColourRef start, ColourRef end, int band);

RampPlan PlanGradientRamp(const RampInput& input);

// The percentage caption of a bar with the percentage shown: "%.0f%%" of
// position * 100.0 / upper.
std::string FormatRampPercentage(int position, int upper);

}  // namespace quell::image
