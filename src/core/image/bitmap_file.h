#pragma once
// BMP loading into a PixelImage. Every failure returns false and leaves `out`
// empty; nothing throws.
#include <cstdint>
#include <span>
#include <string>

#include "core/image/pixel_image.h"

namespace quell::image {

// Reads the whole file and decodes it with DecodeBitmap.
bool LoadBitmapFile(const std::string& path, PixelImage& out);

// Decodes a complete BMP file image (starting with the 14-byte "BM" header).
bool DecodeBitmap(std::span<const uint8_t> bytes, PixelImage& out);

}  // namespace quell::image
