#pragma once
// The allocate and free callbacks a decoder makes its state with, and the
// results of creating a decoder.
#include <cstddef>

namespace quell::cabinet {

struct DecoderAllocator {
    void* (*allocate)(size_t bytes);
    void (*free)(void* block);
};

inline constexpr int kDecoderOk = 0;
inline constexpr int kDecoderOutOfMemory = 1;
inline constexpr int kDecoderFailed = 2;

}  // namespace quell::cabinet
