#pragma once
// Shared helpers for the picture tests: files in the corpora, black-box
// readings by ImageMagick, and small builders for hand-made files.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/image/gif_encoder.h"
#include "core/image/pixel_image.h"

namespace quell::image::test {

// The corpora folder, or empty when this checkout has none.
std::string corporaDir();
std::vector<uint8_t> readBytes(const std::string& path);
bool toolAvailable(const std::string& name);

// ImageMagick's reading of a file as opaque 8-bit RGB (alpha dropped);
// nullopt when the tool fails. `frame` selects one image of a GIF.
std::optional<PixelImage> magickRead(const std::string& path, int frame = -1);
// The same, with transparent pixels composed over white, as a GIF frame
// would appear when its transparent colour becomes white.
std::optional<PixelImage> magickReadOverWhite(const std::string& path, int frame);

// Index of the first pixel where a and b differ in red, green or blue, or -1.
long firstRgbDifference(const PixelImage& a, const PixelImage& b);

// A frame of the given size whose indices follow a repeatable pattern.
GifFrame patternFrame(int width, int height, int colours, uint32_t seed);
std::vector<uint32_t> rampColours(int count);

}  // namespace quell::image::test
