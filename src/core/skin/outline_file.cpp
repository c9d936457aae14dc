#include "core/skin/outline_file.h"

#include <new>

#include "core/bytes.h"
#include "core/os/file_system.h"

namespace quell::skin {

namespace {
void appendInt32(std::vector<uint8_t>& out, int32_t value) { bytes::appendLe32(out, static_cast<uint32_t>(value)); }
}  // namespace

std::optional<std::vector<OutlinePoint>> ParseOutline(std::span<const uint8_t> bytes) {
    if (bytes.size() > kOutlineReadLimit) bytes = bytes.first(kOutlineReadLimit);
    bytes::ByteCursor in(bytes);
    const auto n = static_cast<int32_t>(in.le32());
    if (!in.ok() || n <= 0 || n > kMaxOutlinePoints) return std::nullopt;
    if (in.remaining() < 8 * static_cast<size_t>(n)) return std::nullopt;
    std::vector<OutlinePoint> points;
    try {
        points.resize(static_cast<size_t>(n));
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    for (OutlinePoint& point : points) {
        point.x = static_cast<int32_t>(in.le32());
        point.y = static_cast<int32_t>(in.le32());
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
    appendInt32(out, static_cast<int32_t>(points.size()));
    for (const OutlinePoint& p : points) {
        appendInt32(out, p.x);
        appendInt32(out, p.y);
    }
    return out;
}

}  // namespace quell::skin
