#pragma once
// The small PNG work skin deb needs without an image library: writing a
// picture as an 8-bit RGBA PNG, and reading the size of an existing one.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/image/pixel_image.h"

namespace quellkit {

std::vector<uint8_t> EncodePng(const quell::image::PixelImage& image);

// The picture at width x height, each pixel taken from the nearest source pixel.
quell::image::PixelImage ScaleNearest(const quell::image::PixelImage& image, int width, int height);

struct PngSize {
    int width = 0;
    int height = 0;
};
// The size from the header chunk; nullopt when the bytes do not start like a PNG file.
std::optional<PngSize> ReadPngSize(std::span<const uint8_t> bytes);

}  // namespace quellkit
