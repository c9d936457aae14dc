#include <gtest/gtest.h>

#include "core/image/transparent_draw.h"

namespace quell::image {
namespace {

// A 2 x 2 picture: red, green / blue, magenta.
const PixelImage kQuad{.width = 2, .height = 2, .pixels = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFF00FF}};
constexpr uint32_t R = 0xFFFF0000, G = 0xFF00FF00, B = 0xFF0000FF, M = 0xFFFF00FF;

TEST(DrawTransparent, StretchesByNearestPixel) {
    // Each destination pixel samples the source under its centre.
    const PixelImage big = DrawTransparent(kQuad, {0, 0, 2, 2}, 4, 3, std::nullopt);
    EXPECT_EQ(big.pixels, (std::vector<uint32_t>{R, R, G, G, B, B, M, M, B, B, M, M}));

    const PixelImage strip{.width = 4, .height = 1, .pixels = {R, G, B, M}};
    EXPECT_EQ(DrawTransparent(strip, {0, 0, 4, 1}, 2, 1, std::nullopt).pixels, (std::vector<uint32_t>{G, M}));
    EXPECT_EQ(DrawTransparent(strip, {1, 0, 2, 1}, 2, 1, std::nullopt).pixels, (std::vector<uint32_t>{G, B}));
}

TEST(DrawTransparent, KeysOutAfterTheStretch) {
    // 16711935 is magenta as a colour value; 255 (red in the low byte) is red.
    const PixelImage keyed = DrawTransparent(kQuad, {0, 0, 2, 2}, 4, 2, 16711935u);
    EXPECT_EQ(keyed.pixels, (std::vector<uint32_t>{R, R, G, G, B, B, 0, 0}));
    const PixelImage noRed = DrawTransparent(kQuad, {0, 0, 2, 2}, 2, 2, 0x0000FFu);
    EXPECT_EQ(noRed.pixels, (std::vector<uint32_t>{0, G, B, M}));

    // Alpha in the source is no part of the colour: a translucent key-coloured
    // pixel is keyed out, every other pixel is drawn opaque.
    const PixelImage faint{.width = 2, .height = 1, .pixels = {0x10FF00FF, 0x2000FF00}};
    EXPECT_EQ(DrawTransparent(faint, {0, 0, 2, 1}, 2, 1, 16711935u).pixels, (std::vector<uint32_t>{0, G}));
}

TEST(DrawTransparent, DrawsNothingOutsideTheSource) {
    // A hover image smaller than the normal one is drawn with the normal size as source.
    const PixelImage drawn = DrawTransparent(kQuad, {0, 0, 4, 2}, 4, 2, std::nullopt);
    EXPECT_EQ(drawn.pixels, (std::vector<uint32_t>{R, G, 0, 0, B, M, 0, 0}));
    EXPECT_TRUE(DrawTransparent(kQuad, {0, 0, 2, 2}, 0, 5, std::nullopt).pixels.empty());
    EXPECT_EQ(DrawTransparent(PixelImage{}, {0, 0, 2, 2}, 2, 1, std::nullopt).pixels, (std::vector<uint32_t>{0, 0}));
}

}  // namespace
}  // namespace quell::image
