#pragma once
// Binary PPM (P6) output, top row first, alpha dropped: the plainest format
// other tools read, used by quellkit to show what the decoders produced.
#include <cstdint>
#include <vector>

#include "core/image/pixel_image.h"

namespace quell::image {

std::vector<uint8_t> EncodePpm(const PixelImage& image);

}  // namespace quell::image
