#include "core/image/bitmap_file.h"

namespace quell::image {
bool DecodeBitmap(std::span<const uint8_t>, PixelImage& out) { out = {}; return false; }
bool LoadBitmapFile(const std::string&, PixelImage& out) { out = {}; return false; }
}  // namespace quell::image
