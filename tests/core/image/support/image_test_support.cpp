#include "image_test_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include <unistd.h>

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

// Runs a command and parses the PAM (P7, 8-bit RGB or RGB_ALPHA) it prints.
std::optional<PixelImage> readPamFrom(const std::string& command) {
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return std::nullopt;
    std::vector<uint8_t> bytes;
    uint8_t buffer[65536];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) bytes.insert(bytes.end(), buffer, buffer + got);
    if (pclose(pipe) != 0) return std::nullopt;

    static const std::string kEnd = "ENDHDR\n";
    const auto end = std::search(bytes.begin(), bytes.end(), kEnd.begin(), kEnd.end());
    if (end == bytes.end()) return std::nullopt;
    std::istringstream header(std::string(bytes.begin(), end));
    std::string word;
    int width = 0, height = 0, depth = 0, maxval = 0;
    while (header >> word) {
        if (word == "WIDTH") header >> width;
        else if (word == "HEIGHT") header >> height;
        else if (word == "DEPTH") header >> depth;
        else if (word == "MAXVAL") header >> maxval;
    }
    const size_t start = static_cast<size_t>(end - bytes.begin()) + kEnd.size();
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (maxval != 255 || (depth != 3 && depth != 4) || bytes.size() < start + count * depth) return std::nullopt;
    PixelImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(count);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* p = bytes.data() + start + depth * i;
        const uint32_t alpha = depth == 4 ? p[3] : 255;
        image.pixels[i] = (alpha << 24) | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
    }
    return image;
}

}  // namespace

std::optional<PixelImage> magickRead(const std::string& path, int frame) {
    const std::string suffix = frame >= 0 ? "[" + std::to_string(frame) + "]" : std::string();
    return readPamFrom("convert " + quoted(path + suffix) + " +repage -depth 8 pam:- 2>/dev/null");
}

std::string sha256Hex(const std::vector<uint8_t>& bytes) {
    // One file per process: ctest runs test cases side by side.
    const std::string path =
        (std::filesystem::temp_directory_path() / ("quell-image-digest-" + std::to_string(getpid()) + ".bin")).string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
    FILE* pipe = popen(("sha256sum " + quoted(path)).c_str(), "r");
    char hex[65] = {};
    const bool read = pipe && fread(hex, 1, 64, pipe) == 64;
    if (pipe) pclose(pipe);
    std::filesystem::remove(path);
    return read ? std::string(hex, 64) : std::string();
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

std::vector<uint8_t> storedIndices(const GifDecoder& decoder, int index) {
    GifStoredImage stored;
    if (!decoder.GetStoredImage(index, stored)) return {};
    std::vector<uint8_t> indices;
    for (int y = stored.height - 1; y >= 0; --y) {
        const auto row = stored.rows.subspan(static_cast<size_t>(y) * stored.stride, stored.width);
        indices.insert(indices.end(), row.begin(), row.end());
    }
    return indices;
}

}  // namespace quell::image::test
