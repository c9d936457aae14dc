#pragma once
// The background music of the Quell1 skin: a calm sixteen-bar tune in C
// major for vibraphone, electric piano, warm pad and bass, about 46 seconds
// long, written so that its end leads back into its start when it loops.
#include <cstdint>
#include <vector>

namespace quell1 {

std::vector<uint8_t> composeTune();

}  // namespace quell1
