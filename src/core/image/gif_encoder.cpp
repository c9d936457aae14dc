#include "core/image/gif_encoder.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <iterator>
#include <memory>

namespace quell::image {
namespace {

constexpr int kMaxCodes = 4096;

// Packs variable-width codes least significant bit first, as GIF wants.
class CodeWriter {
public:
    explicit CodeWriter(std::vector<uint8_t>& out) : m_out(out) {}
    void put(unsigned code, int width) {
        m_bits |= static_cast<uint64_t>(code) << m_count;
        m_count += width;
        while (m_count >= 8) {
            m_out.push_back(static_cast<uint8_t>(m_bits));
            m_bits >>= 8;
            m_count -= 8;
        }
    }
    void flush() {
        if (m_count > 0) m_out.push_back(static_cast<uint8_t>(m_bits));
        m_bits = 0;
        m_count = 0;
    }

private:
    std::vector<uint8_t>& m_out;
    uint64_t m_bits = 0;
    int m_count = 0;
};

// Maps (prefix code, next byte) to the code of the longer string. Open
// addressing over a power-of-two table; a clear code empties it.
class StringTable {
public:
    StringTable() { clear(); }
    void clear() { m_keys.fill(kEmpty); }
    int find(unsigned prefix, uint8_t byte) const {
        const uint32_t key = (prefix << 8) | byte;
        for (uint32_t slot = hash(key);; slot = (slot + 1) & kMask) {
            if (m_keys[slot] == kEmpty) return -1;
            if (m_keys[slot] == key) return m_codes[slot];
        }
    }
    void add(unsigned prefix, uint8_t byte, int code) {
        const uint32_t key = (prefix << 8) | byte;
        uint32_t slot = hash(key);
        while (m_keys[slot] != kEmpty) slot = (slot + 1) & kMask;
        m_keys[slot] = key;
        m_codes[slot] = static_cast<uint16_t>(code);
    }

private:
    static constexpr uint32_t kSize = 1u << 14;  // four times the largest number of codes
    static constexpr uint32_t kMask = kSize - 1;
    static constexpr uint32_t kEmpty = 0xFFFFFFFFu;
    static uint32_t hash(uint32_t key) { return (key * 2654435761u) >> 18; }
    std::array<uint32_t, kSize> m_keys{};
    std::array<uint16_t, kSize> m_codes{};
};

int bitsForColours(size_t count) {
    int bits = 1;
    while (bits < 8 && (size_t{1} << bits) < count) ++bits;
    return bits;
}

void put16(std::vector<uint8_t>& out, int value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void putColourTable(std::vector<uint8_t>& out, const std::vector<uint32_t>& colours, int bits) {
    const size_t entries = size_t{1} << bits;
    for (size_t i = 0; i < entries; ++i) {
        const uint32_t colour = i < colours.size() ? colours[i] : 0;
        out.push_back(static_cast<uint8_t>(colour >> 16));
        out.push_back(static_cast<uint8_t>(colour >> 8));
        out.push_back(static_cast<uint8_t>(colour));
    }
}

void putSubBlocks(std::vector<uint8_t>& out, const std::vector<uint8_t>& data) {
    for (size_t at = 0; at < data.size(); at += 255) {
        const size_t length = std::min<size_t>(255, data.size() - at);
        out.push_back(static_cast<uint8_t>(length));
        out.insert(out.end(), data.begin() + static_cast<ptrdiff_t>(at),
                   data.begin() + static_cast<ptrdiff_t>(at + length));
    }
    out.push_back(0);
}

// The rows of an interlaced image in the order they are sent: every 8th row
// from 0, every 8th from 4, every 4th from 2, every 2nd from 1.
std::vector<uint8_t> interlaceRows(const GifFrame& frame) {
    static constexpr int kStart[4] = {0, 4, 2, 1};
    static constexpr int kStep[4] = {8, 8, 4, 2};
    std::vector<uint8_t> sent;
    sent.reserve(frame.indices.size());
    const size_t width = static_cast<size_t>(frame.width);
    for (int pass = 0; pass < 4; ++pass) {
        for (int row = kStart[pass]; row < frame.height; row += kStep[pass]) {
            const auto begin = frame.indices.begin() + static_cast<ptrdiff_t>(row * width);
            sent.insert(sent.end(), begin, begin + static_cast<ptrdiff_t>(width));
        }
    }
    return sent;
}

}  // namespace

std::vector<uint8_t> EncodeGifLzw(std::span<const uint8_t> indices, int minCodeSize, const GifLzwOptions& options) {
    std::vector<uint8_t> out;
    if (minCodeSize < 1 || minCodeSize > 11) return out;
    CodeWriter writer(out);
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    const int firstFree = clearCode + 2;
    const unsigned literalMask = static_cast<unsigned>(clearCode - 1);
    auto table = std::make_unique<StringTable>();
    int nextCode = firstFree;
    int width = minCodeSize + 1;

    auto restart = [&] {
        writer.put(static_cast<unsigned>(clearCode), width);
        table->clear();
        nextCode = firstFree;
        width = minCodeSize + 1;
    };

    if (options.leadingClear) writer.put(static_cast<unsigned>(clearCode), width);
    if (!indices.empty()) {
        unsigned prefix = indices[0] & literalMask;
        for (size_t i = 1; i < indices.size(); ++i) {
            const uint8_t byte = static_cast<uint8_t>(indices[i] & literalMask);
            const int longer = table->find(prefix, byte);
            if (longer >= 0) {
                prefix = static_cast<unsigned>(longer);
                continue;
            }
            writer.put(prefix, width);
            if (nextCode < kMaxCodes) {
                table->add(prefix, byte, nextCode++);
                // The reader widens its codes one code later than the table
                // grows here, because it defines each entry one code late.
                if (nextCode > (1 << width) && width < 12) ++width;
                if (nextCode == kMaxCodes && options.policy == GifTablePolicy::ClearWhenFull) restart();
            } else if (options.policy == GifTablePolicy::ClearOneCodeLate) {
                restart();
            }
            prefix = byte;
        }
        writer.put(prefix, width);
        // The reader defines one more entry on this last code, and may widen for it.
        if (nextCode == (1 << width) && width < 12) ++width;
    }
    if (options.endCode) writer.put(static_cast<unsigned>(endCode), width);
    writer.flush();
    return out;
}

std::vector<uint8_t> EncodeGif(const GifFile& file) {
    std::vector<uint8_t> out{'G', 'I', 'F', '8', '9', 'a'};
    int screenWidth = file.screenWidth;
    int screenHeight = file.screenHeight;
    for (const GifFrame& frame : file.frames) {
        if (file.screenWidth == 0) screenWidth = std::max(screenWidth, frame.left + frame.width);
        if (file.screenHeight == 0) screenHeight = std::max(screenHeight, frame.top + frame.height);
    }

    put16(out, screenWidth);
    put16(out, screenHeight);
    const bool global = !file.globalColours.empty();
    const int globalBits = global ? bitsForColours(file.globalColours.size()) : 1;
    out.push_back(static_cast<uint8_t>(global ? 0x80 | 0x70 | (globalBits - 1) : 0x70));
    out.push_back(0);  // background colour index
    out.push_back(0);  // pixel aspect
    if (global) putColourTable(out, file.globalColours, globalBits);

    if (file.loopCount >= 0) {
        const uint8_t application[] = {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1};
        out.insert(out.end(), std::begin(application), std::end(application));
        put16(out, file.loopCount);
        out.push_back(0);
    }

    for (const GifFrame& frame : file.frames) {
        if (frame.controlBlock) {
            out.push_back(0x21);
            out.push_back(0xF9);
            out.push_back(4);
            out.push_back(static_cast<uint8_t>(((frame.disposal & 7) << 2) | (frame.transparent >= 0 ? 1 : 0)));
            put16(out, frame.delay);
            out.push_back(static_cast<uint8_t>(frame.transparent >= 0 ? frame.transparent : 0));
            out.push_back(0);
        }
        out.push_back(0x2C);
        put16(out, frame.left);
        put16(out, frame.top);
        put16(out, frame.width);
        put16(out, frame.height);
        const bool local = !frame.localColours.empty();
        const int localBits = local ? bitsForColours(frame.localColours.size()) : 0;
        uint8_t flags = frame.interlaced ? 0x40 : 0;
        if (local) flags |= static_cast<uint8_t>(0x80 | (localBits - 1));
        out.push_back(flags);
        if (local) putColourTable(out, frame.localColours, localBits);

        const int tableBits = local ? localBits : globalBits;
        const int minCodeSize = frame.minCodeSize > 0 ? frame.minCodeSize : std::max(2, tableBits);
        out.push_back(static_cast<uint8_t>(minCodeSize));
        const size_t expected =
            static_cast<size_t>(std::max(frame.width, 0)) * static_cast<size_t>(std::max(frame.height, 0));
        std::vector<uint8_t> coded;
        if (frame.indices.size() == expected) {
            coded = frame.interlaced ? EncodeGifLzw(interlaceRows(frame), minCodeSize, frame.lzw)
                                     : EncodeGifLzw(frame.indices, minCodeSize, frame.lzw);
        } else {
            coded = EncodeGifLzw(frame.indices, minCodeSize, frame.lzw);
        }
        putSubBlocks(out, coded);
    }
    if (file.trailer) out.push_back(0x3B);
    return out;
}

}  // namespace quell::image
