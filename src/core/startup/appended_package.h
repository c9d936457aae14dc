#pragma once
// The executable's appended package: the image, then a cabinet of N bytes,
// then N as a 32-bit little-endian trailer.
#include <cstdint>
#include <optional>
#include <span>

namespace quell::startup {

// The cabinet's bytes inside fileBytes; nullopt when the file is shorter than
// the trailer or the trailer claims more bytes than precede it.
std::optional<std::span<const uint8_t>> FindAppendedCabinet(std::span<const uint8_t> fileBytes);

}  // namespace quell::startup
