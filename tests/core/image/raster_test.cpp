#include "core/image/raster.h"

#include <gtest/gtest.h>

#include <string>

using quell::image::PixelImage;

namespace {

constexpr uint32_t kInk = 0xFFFFFFFFu;

// The picture as rows of '#' (ink) and '.' (anything else).
std::string rows(const PixelImage& image) {
    std::string out;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) out += image.at(x, y) == kInk ? '#' : '.';
        out += '\n';
    }
    return out;
}

}  // namespace

TEST(Raster, ShapesStayInsideThePicture) {
    struct Case {
        const char* name;
        void (*draw)(PixelImage&);
        const char* expected;
    };
    const Case cases[] = {
        {"filled rectangle clipped at every side", [](PixelImage& p) { quell::image::FillRect(p, -2, 3, 9, 9, kInk); },
         ".....\n.....\n.....\n#####\n"},
        {"outline one past right and bottom", [](PixelImage& p) { quell::image::DrawRectOutline(p, 0, 0, 4, 3, kInk); },
         "####.\n#..#.\n####.\n.....\n"},
        {"rectangle wholly past the bottom right", [](PixelImage& p) { quell::image::FillRect(p, 9, 9, 12, 12, kInk); },
         ".....\n.....\n.....\n.....\n"},
        {"empty outline draws nothing", [](PixelImage& p) { quell::image::DrawRectOutline(p, 3, 1, 3, 4, kInk); },
         ".....\n.....\n.....\n.....\n"},
        {"line with both ends", [](PixelImage& p) { quell::image::DrawLine(p, 0, 0, 4, 2, kInk); },
         "#....\n.##..\n...##\n.....\n"},
        {"line leaving the picture", [](PixelImage& p) { quell::image::DrawLine(p, 3, 3, 8, 3, kInk); },
         ".....\n.....\n.....\n...##\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PixelImage picture = quell::image::MakeFilledImage(5, 4, 0);
        c.draw(picture);
        EXPECT_EQ(rows(picture), c.expected);
    }
}

TEST(Raster, DrawsDigitsInTheBuiltInFont) {
    EXPECT_EQ(quell::image::TextWidth("10", 1), 7);
    EXPECT_EQ(quell::image::TextWidth("10", 2), 14);
    EXPECT_EQ(quell::image::TextHeight(2), 10);
    PixelImage picture = quell::image::MakeFilledImage(7, 5, 0);
    quell::image::DrawText(picture, 0, 0, "10", kInk, 1);
    EXPECT_EQ(rows(picture), ".#..###\n##..#.#\n.#..#.#\n.#..#.#\n###.###\n");
    // A character the font lacks leaves its cell blank.
    PixelImage blank = quell::image::MakeFilledImage(3, 5, 0);
    quell::image::DrawText(blank, 0, 0, "x", kInk, 1);
    EXPECT_EQ(rows(blank), "...\n...\n...\n...\n...\n");
}

TEST(Raster, TintMixesColourAndKeepsAlpha) {
    PixelImage picture = quell::image::MakeFilledImage(1, 1, 0x80C86432u);
    quell::image::Tint(picture, 0xFF000000u, 50);
    EXPECT_EQ(picture.at(0, 0), 0x80643219u);
}
