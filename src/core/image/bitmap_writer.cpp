#include "core/image/bitmap_writer.h"

namespace quell::image {
std::vector<uint8_t> EncodeBitmap24(const PixelImage&) { return {}; }
}  // namespace quell::image
