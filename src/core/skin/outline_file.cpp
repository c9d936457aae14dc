#include "core/skin/outline_file.h"

#include "core/os/file_system.h"

namespace quell::skin {

namespace {
int32_t readLe32(const uint8_t* p) {
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                                (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24));
}
void writeLe32(std::vector<uint8_t>& out, int32_t v) {
    auto u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(u >> (8 * i)));
}
}  // namespace

std::optional<std::vector<OutlinePoint>> ParseOutline(std::span<const uint8_t> bytes) {
    if (bytes.size() > kOutlineReadLimit) bytes = bytes.first(kOutlineReadLimit);
    if (bytes.size() < 4) return std::nullopt;
    int32_t n = readLe32(bytes.data());
    if (n <= 0 || n > kMaxOutlinePoints) return std::nullopt;
    if (bytes.size() < 4 + 8 * static_cast<size_t>(n)) return std::nullopt;
    std::vector<OutlinePoint> points(static_cast<size_t>(n));
    for (int32_t i = 0; i < n; ++i) {
        const uint8_t* p = bytes.data() + 4 + 8 * static_cast<size_t>(i);
        points[static_cast<size_t>(i)] = OutlinePoint{readLe32(p), readLe32(p + 4)};
    }
    return points;
}

std::optional<std::vector<OutlinePoint>> LoadOutlineFile(const std::string& path) {
    auto bytes = os::readFile(path, kOutlineReadLimit);
    if (!bytes) return std::nullopt;
    return ParseOutline(*bytes);
}

std::vector<uint8_t> EncodeOutline(const std::vector<OutlinePoint>& points) {
    std::vector<uint8_t> out;
    out.reserve(4 + 8 * points.size());
    writeLe32(out, static_cast<int32_t>(points.size()));
    for (const OutlinePoint& p : points) {
        writeLe32(out, p.x);
        writeLe32(out, p.y);
    }
    return out;
}

}  // namespace quell::skin
