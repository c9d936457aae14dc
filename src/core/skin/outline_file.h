#pragma once
// The outline file: a 32-bit little-endian point count n, then n points (x, y),
// each coordinate 32-bit signed little-endian. Only the first 65,536 bytes are read.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quell::skin {

struct OutlinePoint {
    int32_t x = 0, y = 0;
    friend bool operator==(const OutlinePoint&, const OutlinePoint&) = default;
};

inline constexpr size_t kOutlineReadLimit = 65536;
inline constexpr int32_t kMaxOutlinePoints = 8191;

// nullopt for a count that is not positive, above 8,191, or larger than the
// bytes hold, and when the points cannot be allocated: such a file is treated
// as a missing outline.
std::optional<std::vector<OutlinePoint>> ParseOutline(std::span<const uint8_t> bytes);
// nullopt also when the file cannot be read.
std::optional<std::vector<OutlinePoint>> LoadOutlineFile(const std::string& path);

std::vector<uint8_t> EncodeOutline(const std::vector<OutlinePoint>& points);

}  // namespace quell::skin
