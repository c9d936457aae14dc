#pragma once
// The data-block checksum of the cabinet format: little-endian 32-bit words
// XORed together, with a short tail folded in high byte first.
#include <cstdint>
#include <span>

namespace quell::cabinet {

uint32_t CabinetChecksum(std::span<const uint8_t> bytes, uint32_t seed);

}  // namespace quell::cabinet
