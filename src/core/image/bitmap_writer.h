#pragma once
// Writes pictures as BMP files (used to generate skin pictures and test files).
#include <cstdint>
#include <vector>

#include "core/image/pixel_image.h"

namespace quell::image {

// A plain bottom-up 24-bit BMP with a 40-byte information header; alpha is dropped.
std::vector<uint8_t> EncodeBitmap24(const PixelImage& image);

}  // namespace quell::image
