#include "core/image/transparent_draw.h"

namespace quell::image {
PixelImage DrawTransparent(const PixelImage&, PixelRect, int, int, std::optional<uint32_t>) { return {}; }
}  // namespace quell::image
