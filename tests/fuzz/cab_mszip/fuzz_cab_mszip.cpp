// Feeds a folder's worth of MSZIP blocks to one decoder: each block is a
// 16-bit little-endian length followed by that many bytes.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/cabinet/mszip_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quell::cabinet;
    MszipDecoder* decoder = nullptr;
    if (CreateMszipDecoder(0, {std::malloc, std::free}, &decoder, nullptr) != kDecoderOk) return 0;
    std::vector<uint8_t> out(32768);
    size_t at = 0;
    for (int blocks = 0; blocks < 64 && at + 2 <= size; ++blocks) {
        size_t n = data[at] | data[at + 1] << 8;
        at += 2;
        if (n > size - at) n = size - at;
        // A block of its own heap copy, so reading past it is caught.
        std::vector<uint8_t> block(data + at, data + at + n);
        size_t produced = 0;
        MszipDecompress(decoder, block, out, &produced);
        if (produced > out.size()) std::abort();
        at += n;
    }
    DestroyMszipDecoder(decoder);
    return 0;
}
