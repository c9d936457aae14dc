#pragma once
// The LZW expander behind GifDecoder, kept apart so its limits can be tested
// on raw code streams.
#include <cstdint>
#include <span>
#include <vector>

namespace quell::image {

// Holds the code table between images; one per decoder, so decoders do not
// share state and may run on different threads.
class GifLzwDecoder {
public:
    GifLzwDecoder();
    // Expands `data` (the joined sub-blocks of one image) into `output`, whose
    // size is the capacity. A string that does not fit entirely is dropped and
    // decoding goes on. Fails on a code size above 8, a code that is not yet
    // defined, or a table that overflows because no clear code came in time.
    // Running out of data without an end code is success.
    bool decode(int minCodeSize, std::span<const uint8_t> data, std::span<uint8_t> output);

private:
    static constexpr int kEntries = 4097;
    std::vector<uint16_t> m_prefix;
    std::vector<uint16_t> m_length;
    std::vector<uint8_t> m_suffix;
    std::vector<uint8_t> m_first;
    std::vector<uint8_t> m_padded;
};

}  // namespace quell::image
