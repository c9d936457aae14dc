#include "core/cabinet/quantum_decoder.h"

#include <bit>
#include <cstring>
#include <new>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Division by a model's total as a multiplication: for every total a model
// can have and every product of a count and a range (below 2^28),
// (n * of[total]) >> 40 is n / total exactly, because the rounding up of
// 2^40 / total adds less than 2^-12 to a quotient whose fraction is at most
// 1 - 1 / total.
struct Reciprocals {
    uint64_t of[quantum::kRescaleTotal + 1];
};

constexpr Reciprocals makeReciprocals() {
    Reciprocals r{};
    for (uint64_t d = 1; d <= quantum::kRescaleTotal; ++d) r.of[d] = ((uint64_t{1} << 40) + d - 1) / d;
    return r;
}

constexpr Reciprocals kReciprocals = makeReciprocals();

// The arithmetic decoder's three registers and the bit reader that feeds
// them. A block is decoded with one of these in a local variable, so that
// every field can live in a register instead of the decoder's heap state.
// Bits are taken most significant first; beyond the input the reader yields
// zero bytes, and pos keeps counting them.
struct Coder {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t pos = 0;
    // The valid bits are left-aligned. The bits below them are either zero
    // or the input's own next bits, so loading those bytes again leaves them
    // as they are.
    uint64_t bits = 0;
    unsigned count = 0;
    uint32_t low = 0;
    uint32_t high = 0xFFFF;
    uint32_t code = 0;

    void refill() {
        if (pos + 8 <= size) {
            uint64_t word;
            std::memcpy(&word, data + pos, 8);
            if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap64(word);
            bits |= word >> count;
            pos += (63 - count) >> 3;
            count |= 56;
            return;
        }
        while (count <= 56) {
            const uint64_t b = pos < size ? data[pos] : 0;
            ++pos;
            bits |= b << (56 - count);
            count += 8;
        }
    }
    // Takes n bits, 0 to 32.
    uint32_t take(unsigned n) {
        if (count < n) refill();
        const uint32_t v = static_cast<uint32_t>((bits >> (63 - n)) >> 1);
        bits <<= n;
        count -= n;
        return v;
    }
    size_t bitsPastEnd() const {
        const size_t made = pos > size ? (pos - size) * 8 : 0;
        return made > count ? made - count : 0;
    }
};

// The groups of eight lanes each kind of model needs: its entries and the
// closing 0.
constexpr unsigned kSelectorGroups = 1;
constexpr unsigned kLiteralGroups = 9;
constexpr unsigned kLengthGroups = 4;
constexpr unsigned kPositionGroups = 6;

static_assert(quantum::kSelectorSymbols + 1 <= 8 * kSelectorGroups);
static_assert(quantum::kLiteralSymbols + 1 <= 8 * kLiteralGroups);
static_assert(quantum::kLengthSlots + 1 <= 8 * kLengthGroups);
static_assert(quantum::kPositionSlots + 1 <= 8 * kPositionGroups);
static_assert(8 * kLiteralGroups <= quantum::kModelLanes);

#if defined(__SSE2__)
// The lane-wise sum of the groups. Neighbouring groups are added first,
// which halves the chain of additions that wait on one another.
[[gnu::always_inline]] inline __m128i sumOf(__m128i a) { return a; }

template <class... Rest>
[[gnu::always_inline]] inline __m128i sumOf(__m128i a, __m128i b, Rest... rest) {
    if constexpr (sizeof...(rest) == 0) {
        return _mm_add_epi16(a, b);
    } else {
        return _mm_add_epi16(_mm_add_epi16(a, b), sumOf(rest...));
    }
}
#endif

// The entry whose interval holds the code: the number of entries after the
// first whose cumulative count, scaled by the range, lies above the code's
// offset scaled by the total. That is the entry whose count first falls to
// or below offset * total / range, as the counts fall strictly from entry to
// entry, found without dividing.
template <unsigned kGroups>
[[gnu::always_inline]] inline unsigned findEntry(const Model& m, uint32_t scaled, uint32_t range) {
#if defined(__SSE2__)
    if constexpr (kGroups > 1) {
        // Larger models are searched all at once, lane against lane, which
        // takes the quotient after all. Targets reach at most 4 times the
        // largest total, well inside a signed 16-bit lane; the zeros past
        // the last entry never count.
        const uint32_t target = scaled / range;
        const __m128i t = _mm_set1_epi16(static_cast<int16_t>(target));
        const auto* groups = reinterpret_cast<const __m128i*>(m.cumulative);
        // Each lane of the sum counts, over all groups, the entries in that
        // lane whose count lies above the target.
        const __m128i above = [&]<size_t... g>(std::index_sequence<g...>) {
            return _mm_sub_epi16(_mm_setzero_si128(), sumOf(_mm_cmpgt_epi16(_mm_loadu_si128(groups + g), t)...));
        }
        (std::make_index_sequence<kGroups>{});
        const __m128i sums = _mm_sad_epu8(above, _mm_setzero_si128());
        const unsigned n = static_cast<unsigned>(_mm_cvtsi128_si32(sums) + _mm_extract_epi16(sums, 4));
        return n - (m.cumulative[0] > target ? 1u : 0u);
    }
#endif
    // The selector's seven entries are kept most frequent first, so a walk
    // from the front mostly stops after a step or two, sooner than the
    // division above would be done.
    unsigned i = 0;
    while (m.cumulative[i + 1] * range > scaled) ++i;
    return i;
}

// Model::update for the decoder: the counts of entries 0 to index grow by 8,
// a group of eight lanes at a time.
template <unsigned kGroups>
[[gnu::always_inline]] inline void updateModel(Model& m, unsigned index) {
#if defined(__SSE2__)
    const __m128i last = _mm_set1_epi16(static_cast<int16_t>(index));
    const __m128i eight = _mm_set1_epi16(8);
    const __m128i lanes = _mm_setr_epi16(0, 1, 2, 3, 4, 5, 6, 7);
    auto* groups = reinterpret_cast<__m128i*>(m.cumulative);
    [&]<size_t... g>(std::index_sequence<g...>) {
        ((_mm_storeu_si128(
             groups + g,
             _mm_add_epi16(
                 _mm_loadu_si128(groups + g),
                 _mm_andnot_si128(_mm_cmpgt_epi16(_mm_add_epi16(lanes, _mm_set1_epi16(8 * g)), last), eight)))),
         ...);
    }
    (std::make_index_sequence<kGroups>{});
    if (m.cumulative[0] > quantum::kRescaleTotal) m.rescale();
#else
    m.update(index);
#endif
}

// Decodes one symbol of model m, whose entries fill kGroups groups of
// lanes, and brings the registers back to at least a quarter of the code
// space.
template <unsigned kGroups>
[[gnu::always_inline]] inline unsigned decodeSymbol(Coder& c, Model& m) {
    // Low never passes high, so their difference needs no wrapping.
    const uint32_t range = c.high - c.low + 1;
    const uint32_t total = m.cumulative[0];
    const uint32_t scaled = (((c.code - c.low) & 0xFFFFu) + 1) * total - 1;
    const unsigned i = findEntry<kGroups>(m, scaled, range);
    const unsigned symbol = m.symbol[i];
    const uint64_t reciprocal = kReciprocals.of[total];
    uint32_t high = (c.low + static_cast<uint32_t>((m.cumulative[i] * range * reciprocal) >> 40) - 1) & 0xFFFFu;
    uint32_t low = (c.low + static_cast<uint32_t>((m.cumulative[i + 1] * range * reciprocal) >> 40)) & 0xFFFFu;
    updateModel<kGroups>(m, i);

    // Every leading bit on which low and high agree is settled and is
    // shifted out: all 16 when they are equal, none when their first bits
    // differ already.
    const unsigned settled = static_cast<unsigned>(__builtin_clz(((low ^ high) << 16) | 0x8000u));
    low = (low << settled) & 0xFFFFu;
    high = ((high << settled) | ((1u << settled) - 1u)) & 0xFFFFu;
    // Now low lies in the lower half and high in the upper one. Every
    // following bit position where low has a 1 and high a 0 is a step in
    // which both straddle the middle closely; each such step drops that
    // bit, and only the last one's flip of the code's second bit survives.
    // The lowest 17 bits of the complement are ones, so it is never 0.
    const uint32_t straddle = (low & ~high) << 17;
    const unsigned close = static_cast<unsigned>(__builtin_clz(~straddle));
    low = (low << close) & 0x7FFFu;
    high = ((high << close) | ((1u << close) - 1u) | 0x8000u) & 0xFFFFu;
    const uint32_t flip = (straddle >> 16) & 0x8000u;
    const unsigned shift = settled + close;
    c.code = (((c.code << shift) | c.take(shift)) & 0xFFFFu) ^ flip;
    c.low = low;
    c.high = high;
    return symbol;
}

// Copies length bytes from offset back in the window to the write position
// and to out, one byte after another as the format defines it, so that a
// source overlapping its destination repeats the bytes just written.
[[gnu::always_inline]] inline void copyMatch(uint8_t* window, uint32_t mask, uint32_t& wpos, uint32_t offset,
                                             unsigned length, uint8_t* out) {
    uint32_t src = (wpos - offset) & mask;
    const uint32_t windowSize = mask + 1;
    if (src + length <= windowSize && wpos + length <= windowSize) {
        if (offset >= length || src >= wpos) {
            // Either the source ends before the destination starts or it lies
            // ahead of it, where a forward copy reads only bytes not yet
            // overwritten.
            std::memmove(window + wpos, window + src, length);
        } else {
            for (unsigned k = 0; k < length; ++k) window[wpos + k] = window[src + k];
        }
        std::memcpy(out, window + wpos, length);
        wpos = (wpos + length) & mask;
        return;
    }
    for (unsigned k = 0; k < length; ++k) {
        const uint8_t byte = window[src];
        window[wpos] = byte;
        out[k] = byte;
        src = (src + 1) & mask;
        wpos = (wpos + 1) & mask;
    }
}

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
};

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

    Coder c;
    c.data = in.data();
    c.size = in.size();
    c.code = c.take(16);

    quantum::ModelSet& m = d->models;
    uint8_t* const window = d->window;
    const uint32_t mask = d->windowMask;
    uint32_t wpos = d->writePos;
    uint8_t* const output = out.data();
    const size_t size = out.size();
    size_t pos = 0;
    while (pos < size) {
        const unsigned selector = decodeSymbol<kSelectorGroups>(c, m.selector);
        if (selector < 4) {
            const uint8_t byte =
                static_cast<uint8_t>(decodeSymbol<kLiteralGroups>(c, m.literal[selector]) + 64 * selector);
            output[pos++] = byte;
            window[wpos] = byte;
            wpos = (wpos + 1) & mask;
            continue;
        }
        unsigned length;
        unsigned slot;
        if (selector == 4) {
            length = 3;
            slot = decodeSymbol<kPositionGroups>(c, m.position3);
        } else if (selector == 5) {
            length = 4;
            slot = decodeSymbol<kPositionGroups>(c, m.position4);
        } else {
            const unsigned lengthSlot = decodeSymbol<kLengthGroups>(c, m.length);
            length = kSlots.lengthBase[lengthSlot] + c.take(kSlots.lengthExtra[lengthSlot]) + 5;
            slot = decodeSymbol<kPositionGroups>(c, m.position5);
        }
        const uint32_t offset = kSlots.positionBase[slot] + c.take(kSlots.positionExtra[slot]) + 1;
        // A match may run past the block's end (standard tools accept
        // cabinets whose last match does); its excess is not output.
        if (length > size - pos) length = static_cast<unsigned>(size - pos);
        copyMatch(window, mask, wpos, offset, length, output + pos);
        pos += length;
    }
    d->writePos = wpos;
    return c.bitsPastEnd() > kLookAheadBits ? 1 : 0;
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
