#include "core/image/ppm_writer.h"

#include <string>

namespace quell::image {

std::vector<uint8_t> EncodePpm(const PixelImage& image) {
    const std::string header = "P6\n" + std::to_string(image.width) + " " + std::to_string(image.height) + "\n255\n";
    std::vector<uint8_t> out(header.begin(), header.end());
    const size_t count = static_cast<size_t>(image.width) * static_cast<size_t>(image.height);
    out.reserve(out.size() + 3 * count);
    for (size_t i = 0; i < count && i < image.pixels.size(); ++i) {
        const uint32_t pixel = image.pixels[i];
        out.push_back(static_cast<uint8_t>(pixel >> 16));
        out.push_back(static_cast<uint8_t>(pixel >> 8));
        out.push_back(static_cast<uint8_t>(pixel));
    }
    return out;
}

}  // namespace quell::image
