#pragma once
// Key-colour drawing as a pure operation on pictures.
#include <cstdint>
#include <optional>

#include "core/image/pixel_image.h"

namespace quell::image {

// Nearest-neighbour stretch of `source` (a rectangle of src) to destWidth x
// destHeight. When keyColour (a skin colour value, 0x00BBGGRR) is given,
// pixels equal to it after the stretch become fully transparent (0); all other
// pixels are opaque.
PixelImage DrawTransparent(const PixelImage& src, PixelRect source, int destWidth, int destHeight,
                           std::optional<uint32_t> keyColour);

}  // namespace quell::image
