#include "png_writer.h"

#include <zlib.h>

#include <array>
#include <string_view>

namespace quellkit {
namespace {

constexpr std::array<uint8_t, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

void putBigEndian(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

uint32_t getBigEndian(std::span<const uint8_t> bytes, size_t at) {
    return (uint32_t{bytes[at]} << 24) | (uint32_t{bytes[at + 1]} << 16) | (uint32_t{bytes[at + 2]} << 8) |
           bytes[at + 3];
}

// A chunk is its length, its type, its data and the CRC of type and data.
void putChunk(std::vector<uint8_t>& out, std::string_view type, std::span<const uint8_t> data) {
    putBigEndian(out, static_cast<uint32_t>(data.size()));
    const size_t typeAt = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0L, out.data() + typeAt, static_cast<uInt>(out.size() - typeAt));
    putBigEndian(out, static_cast<uint32_t>(crc));
}

}  // namespace

std::vector<uint8_t> EncodePng(const quell::image::PixelImage& image) {
    // Every row starts with filter type 0 (none), then red, green, blue, alpha.
    std::vector<uint8_t> raw;
    raw.reserve(static_cast<size_t>(image.height) * (1 + 4 * static_cast<size_t>(image.width)));
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < image.width; ++x) {
            const uint32_t p = image.at(x, y);
            raw.insert(raw.end(), {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p),
                                   static_cast<uint8_t>(p >> 24)});
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), Z_BEST_COMPRESSION) != Z_OK)
        return {};
    packed.resize(packedSize);

    std::vector<uint8_t> header;
    putBigEndian(header, static_cast<uint32_t>(image.width));
    putBigEndian(header, static_cast<uint32_t>(image.height));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, adaptive filtering, no interlace

    std::vector<uint8_t> out(kSignature.begin(), kSignature.end());
    putChunk(out, "IHDR", header);
    putChunk(out, "IDAT", packed);
    putChunk(out, "IEND", {});
    return out;
}

quell::image::PixelImage ScaleNearest(const quell::image::PixelImage& image, int width, int height) {
    quell::image::PixelImage scaled;
    if (image.width <= 0 || image.height <= 0 || width <= 0 || height <= 0) return scaled;
    scaled.width = width;
    scaled.height = height;
    scaled.pixels.reserve(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        // The centre of each target pixel, mapped back into the source.
        const int sy = static_cast<int>((static_cast<int64_t>(2 * y + 1) * image.height) / (2 * height));
        for (int x = 0; x < width; ++x) {
            const int sx = static_cast<int>((static_cast<int64_t>(2 * x + 1) * image.width) / (2 * width));
            scaled.pixels.push_back(image.at(sx, sy));
        }
    }
    return scaled;
}

std::optional<PngSize> ReadPngSize(std::span<const uint8_t> bytes) {
    // The signature, then the IHDR chunk's length and type, then width and height.
    if (bytes.size() < 24 || !std::equal(kSignature.begin(), kSignature.end(), bytes.begin())) return std::nullopt;
    if (std::string_view(reinterpret_cast<const char*>(bytes.data()) + 12, 4) != "IHDR") return std::nullopt;
    return PngSize{static_cast<int>(getBigEndian(bytes, 16)), static_cast<int>(getBigEndian(bytes, 20))};
}

}  // namespace quellkit
