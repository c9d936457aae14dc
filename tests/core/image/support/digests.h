#pragma once
// Digests the expected answers in the corpora are given in.
#include <cstdint>
#include <span>
#include <string>

namespace quell::image::test {

std::string sha256Hex(std::span<const uint8_t> bytes);
uint32_t crc32(std::span<const uint8_t> bytes);

}  // namespace quell::image::test
