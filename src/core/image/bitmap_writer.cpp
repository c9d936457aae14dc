#include "core/image/bitmap_writer.h"

#include <cstddef>

namespace quell::image {
namespace {

void put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t value) {
    put16(out, value & 0xFFFFu);
    put16(out, value >> 16);
}

}  // namespace

std::vector<uint8_t> EncodeBitmap24(const PixelImage& image) {
    const int width = image.width > 0 ? image.width : 0;
    const int height = image.height > 0 ? image.height : 0;
    const bool complete = image.pixels.size() >= static_cast<size_t>(width) * static_cast<size_t>(height);
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    const size_t pixelBytes = stride * static_cast<size_t>(height);
    const uint32_t headerBytes = 14 + 40;

    std::vector<uint8_t> out;
    out.reserve(headerBytes + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, static_cast<uint32_t>(headerBytes + pixelBytes));
    put32(out, 0);
    put32(out, headerBytes);

    put32(out, 40);
    put32(out, static_cast<uint32_t>(width));
    put32(out, static_cast<uint32_t>(height));  // positive: bottom row first
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);  // no compression
    put32(out, static_cast<uint32_t>(pixelBytes));
    put32(out, 2835);  // 72 dots per inch, as most drawing programs write
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);

    out.resize(headerBytes + pixelBytes, 0);
    if (!complete) return out;  // a malformed picture still gives a well-formed (black) file
    for (int y = 0; y < height; ++y) {
        uint8_t* row = out.data() + headerBytes + stride * static_cast<size_t>(height - 1 - y);
        const uint32_t* source = image.pixels.data() + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            const uint32_t pixel = source[x];
            row[3 * x] = static_cast<uint8_t>(pixel);
            row[3 * x + 1] = static_cast<uint8_t>(pixel >> 8);
            row[3 * x + 2] = static_cast<uint8_t>(pixel >> 16);
        }
    }
    return out;
}

}  // namespace quell::image
