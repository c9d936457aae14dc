#pragma once
// The plain picture every image unit produces and consumes: 32-bit pixels,
// top row first, laid out like QImage::Format_ARGB32 so the ui layer can wrap
// the buffer without converting it.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quell::image {

struct PixelImage {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;  // width * height values of 0xAARRGGBB, row-major

    uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
};

// A skin colour value keeps red in the low byte (0x00BBGGRR); pixels keep it
// in the third byte. These convert between the two, giving an opaque pixel.
constexpr uint32_t PixelFromColourValue(uint32_t colour) {
    return 0xFF000000u | ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}
constexpr uint32_t ColourValueFromPixel(uint32_t pixel) {
    return ((pixel >> 16) & 0xFFu) | (pixel & 0xFF00u) | ((pixel & 0xFFu) << 16);
}

}  // namespace quell::image
