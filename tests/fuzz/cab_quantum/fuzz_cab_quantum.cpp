// Feeds Quantum blocks to one decoder. The first byte picks the window bits;
// then each block is its 16-bit uncompressed size, its 16-bit compressed
// size and the compressed bytes (all little-endian). An uncompressed size
// with the top bit set resets the decoder first, as a folder change does.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/cabinet/quantum_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quell::cabinet;
    if (size < 1) return 0;
    QuantumDecoder* decoder = nullptr;
    if (CreateQuantumDecoder(0, 10 + data[0] % 12, 1, {std::malloc, std::free}, &decoder, nullptr) != kDecoderOk)
        return 0;
    size_t at = 1;
    for (int blocks = 0; blocks < 32 && at + 4 <= size; ++blocks) {
        size_t outSize = data[at] | data[at + 1] << 8;
        size_t n = data[at + 2] | data[at + 3] << 8;
        at += 4;
        if (outSize & 0x8000) {
            ResetQuantumDecoder(decoder);
            outSize &= 0x7FFF;
        }
        if (n > size - at) n = size - at;
        std::vector<uint8_t> block(data + at, data + at + n);
        std::vector<uint8_t> out(outSize + 1);
        QuantumDecompress(decoder, block, {out.data(), outSize});
        at += n;
    }
    DestroyQuantumDecoder(decoder);
    return 0;
}
