#include "core/cabinet/quantum_decoder.h"

#include <cstring>
#include <new>

#include "core/cabinet/quantum_tables.h"

namespace quell::cabinet {
namespace {

using quantum::kSlots;
using quantum::Model;

constexpr uint32_t kTag = 0x43494451u;  // "QDIC"
constexpr unsigned kMaxBlock = 32768;

// How far the arithmetic decoder may look past a block's last byte. Its code
// register holds 16 bits of look-ahead, and an encoder that ends a block with
// a short flush leaves those bits to the decoder's padding; anything beyond
// that would be data the block does not carry.
constexpr size_t kLookAheadBits = 16;

// Bits are taken most significant first; beyond the input the reader yields
// zeros and counts how many it made up.
struct BitReader {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t pos = 0;
    uint64_t bits = 0;  // valid bits left-aligned
    unsigned count = 0;
    size_t padBytes = 0;

    void refill() {
        while (count <= 56) {
            uint64_t b;
            if (pos < size) {
                b = data[pos++];
            } else {
                b = 0;
                ++padBytes;
            }
            bits |= b << (56 - count);
            count += 8;
        }
    }
    unsigned bit() {
        if (count == 0) refill();
        unsigned b = static_cast<unsigned>(bits >> 63);
        bits <<= 1;
        --count;
        return b;
    }
    uint32_t take(unsigned n) {
        if (n == 0) return 0;
        if (count < n) refill();
        uint32_t v = static_cast<uint32_t>(bits >> (64 - n));
        bits <<= n;
        count -= n;
        return v;
    }
    size_t bitsPastEnd() const {
        size_t made = padBytes * 8;
        return made > count ? made - count : 0;
    }
};

}  // namespace

struct QuantumDecoder {
    uint32_t tag = kTag;
    void (*freeBlock)(void*) = nullptr;
    unsigned maxOutput = kMaxBlock;
    unsigned windowBits = 0;
    int cpuType = 0;
    uint32_t windowMask = 0;
    uint32_t writePos = 0;
    uint8_t* window = nullptr;
    quantum::ModelSet models;
    BitReader in;
    uint32_t low = 0, high = 0, code = 0;
};

namespace {

unsigned decodeSymbol(QuantumDecoder& d, Model& m) {
    const uint32_t range = ((d.high - d.low) & 0xFFFFu) + 1;
    const uint32_t total = m.entry[0].cumulative;
    const uint32_t target = ((((d.code - d.low) & 0xFFFFu) + 1) * total - 1) / range;
    unsigned i = 0;
    while (m.entry[i + 1].cumulative > target) ++i;
    const unsigned symbol = m.entry[i].symbol;
    const uint32_t high = d.low + (m.entry[i].cumulative * range) / total - 1;
    const uint32_t low = d.low + (m.entry[i + 1].cumulative * range) / total;
    d.high = high & 0xFFFFu;
    d.low = low & 0xFFFFu;
    m.update(i);
    for (;;) {
        const uint32_t diff = (d.low ^ d.high) & 0xFFFFu;
        if (!(diff & 0x8000u)) {
            // Every leading bit on which low and high agree is shifted out
            // at once, as the same number of single shifts would.
            const unsigned k = diff == 0 ? 16u : static_cast<unsigned>(__builtin_clz(diff)) - 16u;
            d.low = (d.low << k) & 0xFFFFu;
            d.high = ((d.high << k) | ((1u << k) - 1u)) & 0xFFFFu;
            d.code = ((d.code << k) | d.in.take(k)) & 0xFFFFu;
            continue;
        }
        if (!(d.low & 0x4000u) || (d.high & 0x4000u)) break;
        d.low = (d.low & 0x3FFFu) << 1;
        d.high = (((d.high | 0x4000u) << 1) | 1u) & 0xFFFFu;
        d.code = (((d.code ^ 0x4000u) << 1) | d.in.bit()) & 0xFFFFu;
    }
    return symbol;
}

}  // namespace

int CreateQuantumDecoder(unsigned maxOutput, unsigned windowBits, int cpuType, const DecoderAllocator& allocator,
                         QuantumDecoder** decoder, unsigned* inputBufferSize) {
    *decoder = nullptr;
    if (windowBits < kQuantumMinWindowBits || windowBits > kQuantumMaxWindowBits) return kDecoderFailed;
    void* memory = allocator.allocate(sizeof(QuantumDecoder));
    if (memory == nullptr) return kDecoderOutOfMemory;
    const uint32_t windowSize = uint32_t{1} << windowBits;
    auto* window = static_cast<uint8_t*>(allocator.allocate(windowSize));
    if (window == nullptr) {
        allocator.free(memory);
        return kDecoderOutOfMemory;
    }
    std::memset(window, 0, windowSize);
    QuantumDecoder* d = new (memory) QuantumDecoder;
    d->freeBlock = allocator.free;
    d->maxOutput = (maxOutput == 0 || maxOutput > kMaxBlock) ? kMaxBlock : maxOutput;
    d->windowBits = windowBits;
    d->cpuType = cpuType;
    d->windowMask = windowSize - 1;
    d->window = window;
    d->models.init(windowBits);
    *decoder = d;
    if (inputBufferSize) *inputBufferSize = static_cast<unsigned>(kQuantumInputBufferSize);
    return kDecoderOk;
}

int QuantumDecompress(QuantumDecoder* d, std::span<const uint8_t> in, std::span<uint8_t> out) {
    if (d == nullptr || d->tag != kTag) return 1;
    if (out.size() > d->maxOutput || in.size() > kQuantumInputBufferSize) return 1;

    d->in = BitReader{};
    d->in.data = in.data();
    d->in.size = in.size();
    d->low = 0;
    d->high = 0xFFFF;
    d->code = d->in.take(16);

    quantum::ModelSet& m = d->models;
    uint8_t* const window = d->window;
    const uint32_t mask = d->windowMask;
    uint32_t wpos = d->writePos;
    const size_t size = out.size();
    size_t pos = 0;
    while (pos < size) {
        const unsigned selector = decodeSymbol(*d, m.selector);
        if (selector < 4) {
            const uint8_t byte = static_cast<uint8_t>(decodeSymbol(*d, m.literal[selector]) + 64 * selector);
            out[pos++] = byte;
            window[wpos] = byte;
            wpos = (wpos + 1) & mask;
            continue;
        }
        unsigned length;
        unsigned slot;
        if (selector == 4) {
            length = 3;
            slot = decodeSymbol(*d, m.position3);
        } else if (selector == 5) {
            length = 4;
            slot = decodeSymbol(*d, m.position4);
        } else {
            const unsigned lengthSlot = decodeSymbol(*d, m.length);
            length = kSlots.lengthBase[lengthSlot] + d->in.take(kSlots.lengthExtra[lengthSlot]) + 5;
            slot = decodeSymbol(*d, m.position5);
        }
        const uint32_t offset = kSlots.positionBase[slot] + d->in.take(kSlots.positionExtra[slot]) + 1;
        // A match may run past the block's end (standard tools accept
        // cabinets whose last match does); its excess is not output.
        if (length > size - pos) length = static_cast<unsigned>(size - pos);
        uint32_t src = (wpos - offset) & mask;
        for (unsigned k = 0; k < length; ++k) {
            const uint8_t byte = window[src];
            window[wpos] = byte;
            out[pos++] = byte;
            src = (src + 1) & mask;
            wpos = (wpos + 1) & mask;
        }
    }
    d->writePos = wpos;
    return d->in.bitsPastEnd() > kLookAheadBits ? 1 : 0;
}

int ResetQuantumDecoder(QuantumDecoder* d) {
    if (d == nullptr || d->tag != kTag) return 1;
    d->writePos = 0;
    d->models.init(d->windowBits);
    return 0;
}

void DestroyQuantumDecoder(QuantumDecoder* d) {
    if (d == nullptr || d->tag != kTag) return;
    d->tag = 0;
    void (*freeBlock)(void*) = d->freeBlock;
    freeBlock(d->window);
    d->~QuantumDecoder();
    freeBlock(d);
}

}  // namespace quell::cabinet
