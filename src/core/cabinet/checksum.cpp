#include "core/cabinet/checksum.h"

namespace quell::cabinet {

uint32_t CabinetChecksum(std::span<const uint8_t> bytes, uint32_t seed) {
    uint32_t sum = seed;
    size_t i = 0;
    const size_t words = bytes.size() / 4;
    for (size_t w = 0; w < words; ++w, i += 4) {
        sum ^= static_cast<uint32_t>(bytes[i]) | static_cast<uint32_t>(bytes[i + 1]) << 8 |
               static_cast<uint32_t>(bytes[i + 2]) << 16 | static_cast<uint32_t>(bytes[i + 3]) << 24;
    }
    uint32_t tail = 0;
    switch (bytes.size() & 3) {
    case 3: tail |= static_cast<uint32_t>(bytes[i++]) << 16; [[fallthrough]];
    case 2: tail |= static_cast<uint32_t>(bytes[i++]) << 8; [[fallthrough]];
    case 1: tail |= bytes[i]; break;
    default: break;
    }
    return sum ^ tail;
}

}  // namespace quell::cabinet
