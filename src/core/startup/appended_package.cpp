#include "core/startup/appended_package.h"

namespace quell::startup {

std::optional<std::span<const uint8_t>> FindAppendedCabinet(std::span<const uint8_t> fileBytes) {
    if (fileBytes.size() < 4) return std::nullopt;
    const uint8_t* t = fileBytes.data() + fileBytes.size() - 4;
    uint64_t n = static_cast<uint64_t>(t[0]) | (static_cast<uint64_t>(t[1]) << 8) |
                 (static_cast<uint64_t>(t[2]) << 16) | (static_cast<uint64_t>(t[3]) << 24);
    uint64_t available = fileBytes.size() - 4;
    if (n > available) return std::nullopt;
    return fileBytes.subspan(static_cast<size_t>(available - n), static_cast<size_t>(n));
}

}  // namespace quell::startup
