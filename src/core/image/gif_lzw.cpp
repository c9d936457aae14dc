#include "core/image/gif_lzw.h"

#include <bit>
#include <cstring>

namespace quell::image {

GifLzwDecoder::GifLzwDecoder()
    : m_prefix(kEntries), m_length(kEntries), m_suffix(kEntries), m_first(kEntries) {}

bool GifLzwDecoder::decode(int minCodeSize, std::span<const uint8_t> data, std::span<uint8_t> output) {
    if (minCodeSize < 0 || minCodeSize > 8) return false;

    // Four zero bytes after the data let every code be read as one 32-bit
    // word, even one that starts in the last data byte.
    const size_t length = data.size();
    m_padded.resize(length + 4);
    if (length > 0) std::memcpy(m_padded.data(), data.data(), length);
    std::memset(m_padded.data() + length, 0, 4);
    const uint8_t* bytes = m_padded.data();
    const uint64_t endBit = static_cast<uint64_t>(length) * 8;

    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    const int firstFree = clearCode + 2;
    for (int i = 0; i < clearCode; ++i) {
        m_prefix[i] = 0;
        m_length[i] = 1;
        m_suffix[i] = static_cast<uint8_t>(i);
        m_first[i] = static_cast<uint8_t>(i);
    }

    int width = minCodeSize + 1;
    int limit = 1 << width;
    int nextFree = firstFree;
    int previous = -1;
    uint64_t bit = 0;
    size_t outAt = 0;
    const size_t capacity = output.size();
    uint8_t* out = output.data();

    for (;;) {
        uint32_t word;
        std::memcpy(&word, bytes + (bit >> 3), 4);
        // The stream is little-endian by definition; read it as such on any host.
        if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap32(word);
        const int code = static_cast<int>((word >> (bit & 7)) & static_cast<uint32_t>(limit - 1));
        bit += static_cast<uint64_t>(width);

        if (code == clearCode) {
            width = minCodeSize + 1;
            limit = 1 << width;
            nextFree = firstFree;
            previous = -1;
        } else if (code == endCode) {
            return true;
        } else {
            if (code >= nextFree) {
                if (previous < 0) return false;
                m_prefix[nextFree] = static_cast<uint16_t>(previous);
                m_suffix[nextFree] = m_first[previous];
                m_first[nextFree] = m_first[previous];
                m_length[nextFree] = static_cast<uint16_t>(m_length[previous] + 1);
                ++nextFree;
                if (code >= nextFree) return false;
            } else if (previous >= 0) {
                m_prefix[nextFree] = static_cast<uint16_t>(previous);
                m_suffix[nextFree] = m_first[code];
                m_first[nextFree] = m_first[previous];
                m_length[nextFree] = static_cast<uint16_t>(m_length[previous] + 1);
                ++nextFree;
            }

            const size_t stringLength = m_length[code];
            if (stringLength <= capacity - outAt) {
                // Walk the prefix chain from the last byte back to the first.
                uint8_t* at = out + outAt + stringLength;
                int entry = code;
                for (size_t i = 0; i < stringLength; ++i) {
                    *--at = m_suffix[entry];
                    entry = m_prefix[entry];
                }
                outAt += stringLength;
            }

            if (nextFree == limit) {
                if (width < 12) {
                    ++width;
                    limit <<= 1;
                }
            } else if (nextFree > limit) {
                return false;
            }
            previous = code;
        }
        if (bit >= endBit) return true;
    }
}

}  // namespace quell::image
