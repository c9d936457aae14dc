#pragma once
// MSZIP: one deflate stream per data block, prefixed "CK", whose history runs
// on from the previous block of the folder.
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/cabinet/decoder_allocator.h"

namespace quell::cabinet {

struct MszipDecoder;

inline constexpr size_t kMszipInputBufferSize = 32768 + 12;

// Makes a decoder for blocks of at most maxOutput bytes (0 or more than 32768
// means 32768). Returns kDecoderOk, kDecoderOutOfMemory or kDecoderFailed.
int CreateMszipDecoder(unsigned maxOutput, const DecoderAllocator& allocator, MszipDecoder** decoder,
                       unsigned* inputBufferSize);

// Decodes one block into out (its size is the room); *produced receives the
// byte count. Returns 0 on success, non-zero on any decoding error.
int MszipDecompress(MszipDecoder* decoder, std::span<const uint8_t> in, std::span<uint8_t> out, size_t* produced);

// Called at a folder change; the history needs no clearing.
int ResetMszipDecoder(MszipDecoder* decoder);

void DestroyMszipDecoder(MszipDecoder* decoder);

}  // namespace quell::cabinet
