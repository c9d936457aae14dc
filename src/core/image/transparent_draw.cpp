#include "core/image/transparent_draw.h"

#include <vector>

namespace quell::image {

PixelImage DrawTransparent(const PixelImage& src, PixelRect source, int destWidth, int destHeight,
                           std::optional<uint32_t> keyColour) {
    PixelImage out;
    if (destWidth <= 0 || destHeight <= 0) return out;
    out.width = destWidth;
    out.height = destHeight;
    out.pixels.assign(static_cast<size_t>(destWidth) * static_cast<size_t>(destHeight), 0);
    if (source.width <= 0 || source.height <= 0) return out;
    const bool complete = src.width > 0 && src.height > 0 &&
                          src.pixels.size() >= static_cast<size_t>(src.width) * static_cast<size_t>(src.height);

    // Each destination pixel takes the source pixel under its centre. Source
    // positions outside the picture (a hover image smaller than the normal
    // one it is drawn with) draw nothing and stay transparent.
    std::vector<int> columns(static_cast<size_t>(destWidth));
    for (int x = 0; x < destWidth; ++x) {
        const int64_t sx = source.x + (static_cast<int64_t>(2 * x + 1) * source.width) / (2 * int64_t{destWidth});
        columns[static_cast<size_t>(x)] = complete && sx >= 0 && sx < src.width ? static_cast<int>(sx) : -1;
    }
    const uint32_t key = keyColour ? (PixelFromColourValue(*keyColour) & 0x00FFFFFFu) : 0;
    for (int y = 0; y < destHeight; ++y) {
        const int64_t sy = source.y + (static_cast<int64_t>(2 * y + 1) * source.height) / (2 * int64_t{destHeight});
        if (!complete || sy < 0 || sy >= src.height) continue;
        const uint32_t* row = src.pixels.data() + static_cast<size_t>(sy) * static_cast<size_t>(src.width);
        uint32_t* target = out.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(destWidth);
        for (int x = 0; x < destWidth; ++x) {
            const int sx = columns[static_cast<size_t>(x)];
            if (sx < 0) continue;
            // The stretch copies colour only: every drawn pixel is opaque,
            // and the key is compared on the stretched colour.
            const uint32_t colour = row[sx] & 0x00FFFFFFu;
            target[x] = keyColour && colour == key ? 0u : (0xFF000000u | colour);
        }
    }
    return out;
}

}  // namespace quell::image
