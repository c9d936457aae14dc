#pragma once
// Shared helpers for the picture tests: files in the corpora, black-box
// readings by ImageMagick, and small builders for hand-made files.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/image/gif_decoder.h"
#include "core/image/gif_encoder.h"
#include "core/image/pixel_image.h"

namespace quell::image::test {

// The corpora folder, or empty when this checkout has none.
std::string corporaDir();
std::vector<uint8_t> readBytes(const std::string& path);
bool toolAvailable(const std::string& name);

// ImageMagick's reading of a file as 8-bit pixels with alpha; nullopt when
// the tool fails. `frame` selects one image of a GIF.
std::optional<PixelImage> magickRead(const std::string& path, int frame = -1);

// SHA-256 of the bytes as lower-case hex, by the system's sha256sum (the
// digest the expected answers are given in).
std::string sha256Hex(const std::vector<uint8_t>& bytes);

// A frame of the given size whose indices follow a repeatable pattern.
GifFrame patternFrame(int width, int height, int colours, uint32_t seed);
std::vector<uint32_t> rampColours(int count);

// The indices of one stored image, top row first; empty when there is no such image.
std::vector<uint8_t> storedIndices(const GifDecoder& decoder, int index);

}  // namespace quell::image::test
