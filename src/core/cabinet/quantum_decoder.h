#pragma once
// Quantum: an adaptive arithmetic coder over a sliding window of 2^b bytes
// (b from 10 to 21); models and window run on across the blocks of a folder.
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/cabinet/decoder_allocator.h"

namespace quell::cabinet {

struct QuantumDecoder;

inline constexpr size_t kQuantumInputBufferSize = 32768 + 10240;
inline constexpr unsigned kQuantumMinWindowBits = 10;
inline constexpr unsigned kQuantumMaxWindowBits = 21;

// Makes a decoder with a window of 2^windowBits bytes. Returns kDecoderOk,
// kDecoderOutOfMemory, or kDecoderFailed for window bits outside 10 to 21.
int CreateQuantumDecoder(unsigned maxOutput, unsigned windowBits, int cpuType, const DecoderAllocator& allocator,
                         QuantumDecoder** decoder, unsigned* inputBufferSize);

// Decodes one block to exactly out.size() bytes (the block's uncompressed
// size). Returns 0 on success, non-zero on any decoding error.
int QuantumDecompress(QuantumDecoder* decoder, std::span<const uint8_t> in, std::span<uint8_t> out);

// Called at a folder change: the write position returns to 0 and every model
// starts again; the window's bytes stay.
int ResetQuantumDecoder(QuantumDecoder* decoder);

void DestroyQuantumDecoder(QuantumDecoder* decoder);

}  // namespace quell::cabinet
