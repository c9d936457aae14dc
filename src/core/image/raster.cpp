#include "core/image/raster.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace quell::image {

namespace {

constexpr int kGlyphWidth = 3;
constexpr int kGlyphHeight = 5;

// Each glyph is five rows of three bits, the top row first and the left
// cell in the highest bit.
struct Glyph {
    char character;
    std::array<uint8_t, kGlyphHeight> rows;
};

constexpr std::array<Glyph, 14> kGlyphs = {{
    {'0', {0b111, 0b101, 0b101, 0b101, 0b111}},
    {'1', {0b010, 0b110, 0b010, 0b010, 0b111}},
    {'2', {0b111, 0b001, 0b111, 0b100, 0b111}},
    {'3', {0b111, 0b001, 0b111, 0b001, 0b111}},
    {'4', {0b101, 0b101, 0b111, 0b001, 0b001}},
    {'5', {0b111, 0b100, 0b111, 0b001, 0b111}},
    {'6', {0b111, 0b100, 0b111, 0b101, 0b111}},
    {'7', {0b111, 0b001, 0b010, 0b010, 0b010}},
    {'8', {0b111, 0b101, 0b111, 0b101, 0b111}},
    {'9', {0b111, 0b101, 0b111, 0b001, 0b111}},
    {',', {0b000, 0b000, 0b000, 0b010, 0b100}},
    {'-', {0b000, 0b000, 0b111, 0b000, 0b000}},
    {':', {0b000, 0b010, 0b000, 0b010, 0b000}},
    {' ', {0b000, 0b000, 0b000, 0b000, 0b000}},
}};

const Glyph& glyphFor(char c) {
    for (const Glyph& g : kGlyphs)
        if (g.character == c) return g;
    return kGlyphs.back();
}

void putPixel(PixelImage& image, int x, int y, uint32_t pixel) {
    if (x < 0 || y < 0 || x >= image.width || y >= image.height) return;
    image.pixels[static_cast<size_t>(y) * image.width + x] = pixel;
}

}  // namespace

PixelImage MakeFilledImage(int width, int height, uint32_t pixel) {
    PixelImage image;
    if (width <= 0 || height <= 0) return image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<size_t>(width) * height, pixel);
    return image;
}

void FillRect(PixelImage& image, int left, int top, int right, int bottom, uint32_t pixel) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, image.width);
    bottom = std::min(bottom, image.height);
    // A rectangle wholly off the picture clips to nothing.
    if (left >= right || top >= bottom) return;
    for (int y = top; y < bottom; ++y)
        std::fill_n(image.pixels.begin() + static_cast<ptrdiff_t>(y) * image.width + left, right - left, pixel);
}

void DrawRectOutline(PixelImage& image, int left, int top, int right, int bottom, uint32_t pixel, int thickness) {
    if (right <= left || bottom <= top) return;
    const int t = std::max(1, thickness);
    FillRect(image, left, top, right, std::min(bottom, top + t), pixel);
    FillRect(image, left, std::max(top, bottom - t), right, bottom, pixel);
    FillRect(image, left, top, std::min(right, left + t), bottom, pixel);
    FillRect(image, std::max(left, right - t), top, right, bottom, pixel);
}

void DrawLine(PixelImage& image, int x0, int y0, int x1, int y1, uint32_t pixel) {
    // Bresenham's walk: one pixel a step along the longer axis.
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        putPixel(image, x0, y0, pixel);
        if (x0 == x1 && y0 == y1) return;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += sx;
        }
        if (twice <= dx) {
            error += dx;
            y0 += sy;
        }
    }
}

int TextWidth(std::string_view text, int scale) {
    if (text.empty()) return 0;
    return static_cast<int>(text.size()) * (kGlyphWidth + 1) * scale - scale;
}

int TextHeight(int scale) { return kGlyphHeight * scale; }

void DrawText(PixelImage& image, int x, int y, std::string_view text, uint32_t pixel, int scale) {
    for (char c : text) {
        const Glyph& glyph = glyphFor(c);
        for (int row = 0; row < kGlyphHeight; ++row) {
            for (int column = 0; column < kGlyphWidth; ++column) {
                if (!(glyph.rows[static_cast<size_t>(row)] & (1 << (kGlyphWidth - 1 - column)))) continue;
                FillRect(image, x + column * scale, y + row * scale, x + (column + 1) * scale, y + (row + 1) * scale,
                         pixel);
            }
        }
        x += (kGlyphWidth + 1) * scale;
    }
}

void Tint(PixelImage& image, uint32_t pixel, int percent) {
    const uint32_t keep = static_cast<uint32_t>(100 - std::clamp(percent, 0, 100));
    const uint32_t add = 100 - keep;
    for (uint32_t& p : image.pixels) {
        uint32_t out = p & 0xFF000000u;
        for (int shift = 0; shift <= 16; shift += 8) {
            const uint32_t mixed = (((p >> shift) & 0xFFu) * keep + ((pixel >> shift) & 0xFFu) * add) / 100;
            out |= mixed << shift;
        }
        p = out;
    }
}

}  // namespace quell::image
