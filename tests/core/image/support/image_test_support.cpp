#include "image_test_support.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace quell::image::test {

std::string corporaDir() {
    std::error_code ec;
    if (std::filesystem::is_directory(QUELL_CORPORA_DIR, ec)) return QUELL_CORPORA_DIR;
    return {};
}

std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool toolAvailable(const std::string& name) {
    const std::string command = "command -v " + name + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

namespace {

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'') out += "'\\''";
        else out += c;
    }
    return out + "'";
}

// Runs a command and parses the binary PPM (P6, maxval 255) it prints.
std::optional<PixelImage> readPpmFrom(const std::string& command) {
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return std::nullopt;
    std::vector<uint8_t> bytes;
    uint8_t buffer[65536];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) bytes.insert(bytes.end(), buffer, buffer + got);
    if (pclose(pipe) != 0) return std::nullopt;

    size_t at = 0;
    auto token = [&]() -> std::string {
        while (at < bytes.size() && (std::isspace(bytes[at]) || bytes[at] == '#')) {
            if (bytes[at] == '#')
                while (at < bytes.size() && bytes[at] != '\n') ++at;
            else
                ++at;
        }
        std::string word;
        while (at < bytes.size() && !std::isspace(bytes[at])) word += static_cast<char>(bytes[at++]);
        return word;
    };
    if (token() != "P6") return std::nullopt;
    PixelImage image;
    image.width = std::atoi(token().c_str());
    image.height = std::atoi(token().c_str());
    if (token() != "255") return std::nullopt;
    ++at;
    const size_t count = static_cast<size_t>(image.width) * image.height;
    if (bytes.size() < at + count * 3) return std::nullopt;
    image.pixels.resize(count);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* p = bytes.data() + at + 3 * i;
        image.pixels[i] = 0xFF000000u | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
    }
    return image;
}

std::string frameSuffix(int frame) { return frame >= 0 ? "[" + std::to_string(frame) + "]" : std::string(); }

}  // namespace

std::optional<PixelImage> magickRead(const std::string& path, int frame) {
    return readPpmFrom("convert " + quoted(path + frameSuffix(frame)) +
                       " -alpha off -depth 8 ppm:- 2>/dev/null");
}

std::optional<PixelImage> magickReadOverWhite(const std::string& path, int frame) {
    // +repage keeps the frame's own size instead of the logical screen's.
    return readPpmFrom("convert " + quoted(path + frameSuffix(frame)) +
                       " +repage -background white -alpha remove -alpha off -depth 8 ppm:- 2>/dev/null");
}

long firstRgbDifference(const PixelImage& a, const PixelImage& b) {
    if (a.width != b.width || a.height != b.height || a.pixels.size() != b.pixels.size()) return 0;
    for (size_t i = 0; i < a.pixels.size(); ++i)
        if ((a.pixels[i] & 0xFFFFFFu) != (b.pixels[i] & 0xFFFFFFu)) return static_cast<long>(i);
    return -1;
}

GifFrame patternFrame(int width, int height, int colours, uint32_t seed) {
    GifFrame frame;
    frame.width = width;
    frame.height = height;
    frame.indices.resize(static_cast<size_t>(width) * height);
    uint32_t state = seed * 2654435761u + 1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            state = state * 1103515245u + 12345u;
            // Runs of equal pixels mixed with noise give the coder both long
            // and short strings.
            const bool noisy = ((state >> 16) & 3) == 0;
            const uint32_t value = noisy ? (state >> 20) : static_cast<uint32_t>((x / 7 + y / 5));
            frame.indices[static_cast<size_t>(y) * width + x] = static_cast<uint8_t>(value % colours);
        }
    }
    return frame;
}

std::vector<uint32_t> rampColours(int count) {
    std::vector<uint32_t> colours;
    for (int i = 0; i < count; ++i)
        colours.push_back((static_cast<uint32_t>(i * 37 % 256) << 16) | (static_cast<uint32_t>(i * 91 % 256) << 8) |
                          static_cast<uint32_t>(255 - i % 256));
    return colours;
}

}  // namespace quell::image::test
