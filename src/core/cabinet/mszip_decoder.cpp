#include "core/cabinet/mszip_decoder.h"

#include <bit>
#include <cstring>
#include <new>

namespace quell::cabinet {
namespace {

constexpr uint32_t kTag = 0x4349444Du;  // "MDIC"
constexpr unsigned kWindowSize = 32768;
constexpr unsigned kWindowMask = kWindowSize - 1;
constexpr unsigned kFastBits = 10;
constexpr unsigned kFastSize = 1u << kFastBits;
constexpr unsigned kMaxCodeLength = 15;

constexpr uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                      31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr uint16_t kDistanceBase[30] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                        33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                        1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                        6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
constexpr uint8_t kCodeLengthOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

// A canonical Huffman code: a direct lookup for codes of up to kFastBits bits
// and the counts and sorted symbols for a bit-by-bit walk of longer codes.
struct HuffmanTable {
    uint16_t fast[kFastSize];  // symbol << 4 | length, 0 when the code is longer
    uint16_t count[kMaxCodeLength + 1];
    uint16_t symbol[288];
};

// Bits are taken least significant first; beyond the block's bytes the reader
// yields zero bits.
struct BitReader {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t pos = 0;
    uint64_t bits = 0;
    unsigned count = 0;

    void refill() {
        if (pos + 8 <= size) {
            uint64_t v;
            std::memcpy(&v, data + pos, 8);
            if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
            bits |= v << count;
            pos += (63 - count) >> 3;
            count |= 56;
            return;
        }
        while (count <= 56) {
            uint64_t b = pos < size ? data[pos++] : 0;
            bits |= b << count;
            count += 8;
        }
    }
    uint32_t peek(unsigned n) const { return static_cast<uint32_t>(bits & ((uint64_t{1} << n) - 1)); }
    void drop(unsigned n) {
        bits >>= n;
        count -= n;
    }
    uint32_t take(unsigned n) {
        uint32_t v = peek(n);
        drop(n);
        return v;
    }
};

}  // namespace

struct MszipDecoder {
    uint32_t tag = kTag;
    void (*freeBlock)(void*) = nullptr;
    unsigned maxOutput = kWindowSize;
    bool fixedBuilt = false;
    BitReader in;
    HuffmanTable fixedLiteral;
    HuffmanTable fixedDistance;
    HuffmanTable literal;
    HuffmanTable distance;
    HuffmanTable codeLength;
    uint8_t lengths[286 + 30];
    // The history: every block's output starts at the window's start, so a
    // back-reference before it lands in the previous block's bytes further on.
    uint8_t window[kWindowSize];
};

namespace {

bool buildTable(HuffmanTable& t, const uint8_t* lengths, unsigned n) {
    std::memset(t.count, 0, sizeof t.count);
    for (unsigned i = 0; i < n; ++i) t.count[lengths[i]]++;
    t.count[0] = 0;
    int left = 1;
    for (unsigned len = 1; len <= kMaxCodeLength; ++len) {
        left <<= 1;
        left -= t.count[len];
        if (left < 0) return false;  // over-subscribed
    }
    uint16_t offset[kMaxCodeLength + 2];
    offset[1] = 0;
    for (unsigned len = 1; len <= kMaxCodeLength; ++len) offset[len + 1] = offset[len] + t.count[len];
    for (unsigned sym = 0; sym < n; ++sym)
        if (lengths[sym]) t.symbol[offset[lengths[sym]]++] = static_cast<uint16_t>(sym);

    std::memset(t.fast, 0, sizeof t.fast);
    unsigned next[kMaxCodeLength + 1];
    unsigned code = 0;
    next[0] = 0;
    for (unsigned len = 1; len <= kMaxCodeLength; ++len) {
        code = (code + t.count[len - 1]) << 1;
        next[len] = code;
    }
    for (unsigned sym = 0; sym < n; ++sym) {
        unsigned len = lengths[sym];
        if (len == 0) continue;
        unsigned c = next[len]++;
        if (len > kFastBits) continue;
        unsigned reversed = 0;
        for (unsigned b = 0; b < len; ++b) reversed |= ((c >> b) & 1u) << (len - 1 - b);
        for (unsigned k = reversed; k < kFastSize; k += 1u << len) t.fast[k] = static_cast<uint16_t>(sym << 4 | len);
    }
    return true;
}

// Walks the code bit by bit; -1 for a bit pattern no symbol has.
int decodeSlow(const HuffmanTable& t, BitReader& br) {
    int code = 0, first = 0, index = 0;
    for (unsigned len = 1; len <= kMaxCodeLength; ++len) {
        code |= static_cast<int>((br.bits >> (len - 1)) & 1u);
        int count = t.count[len];
        if (code - count < first) {
            br.drop(len);
            return t.symbol[index + (code - first)];
        }
        index += count;
        first += count;
        first <<= 1;
        code <<= 1;
    }
    return -1;
}

inline int decodeSymbol(const HuffmanTable& t, BitReader& br) {
    uint16_t e = t.fast[br.bits & (kFastSize - 1)];
    if (e) {
        br.drop(e & 15u);
        return e >> 4;
    }
    return decodeSlow(t, br);
}

void buildFixedTables(MszipDecoder& d) {
    uint8_t lengths[288];
    for (unsigned i = 0; i < 144; ++i) lengths[i] = 8;
    for (unsigned i = 144; i < 256; ++i) lengths[i] = 9;
    for (unsigned i = 256; i < 280; ++i) lengths[i] = 7;
    for (unsigned i = 280; i < 288; ++i) lengths[i] = 8;
    buildTable(d.fixedLiteral, lengths, 288);
    for (unsigned i = 0; i < 32; ++i) lengths[i] = 5;
    buildTable(d.fixedDistance, lengths, 32);
    d.fixedBuilt = true;
}

bool readDynamicTables(MszipDecoder& d) {
    BitReader& br = d.in;
    br.refill();
    unsigned literals = br.take(5) + 257;
    unsigned distances = br.take(5) + 1;
    unsigned codeLengths = br.take(4) + 4;
    if (literals > 286 || distances > 30) return false;
    uint8_t clLengths[19] = {};
    for (unsigned i = 0; i < codeLengths; ++i) {
        br.refill();
        clLengths[kCodeLengthOrder[i]] = static_cast<uint8_t>(br.take(3));
    }
    if (!buildTable(d.codeLength, clLengths, 19)) return false;

    const unsigned total = literals + distances;
    unsigned n = 0;
    while (n < total) {
        br.refill();
        int sym = decodeSymbol(d.codeLength, br);
        if (sym < 0) return false;
        if (sym < 16) {
            d.lengths[n++] = static_cast<uint8_t>(sym);
            continue;
        }
        unsigned repeat;
        uint8_t value = 0;
        if (sym == 16) {
            if (n == 0) return false;
            value = d.lengths[n - 1];
            repeat = 3 + br.take(2);
        } else if (sym == 17) {
            repeat = 3 + br.take(3);
        } else {
            repeat = 11 + br.take(7);
        }
        if (n + repeat > total) return false;
        std::memset(d.lengths + n, value, repeat);
        n += repeat;
    }
    return buildTable(d.literal, d.lengths, literals) && buildTable(d.distance, d.lengths + literals, distances);
}

// Decodes the symbols of one Huffman-coded deflate block. Returns false on a
// decoding error; stops early, successfully, when the output is full.
bool inflateCodes(MszipDecoder& d, const HuffmanTable& lit, const HuffmanTable& dist, unsigned& out, unsigned limit) {
    BitReader& br = d.in;
    uint8_t* window = d.window;
    while (out < limit) {
        br.refill();
        int sym = decodeSymbol(lit, br);
        if (sym < 256) {
            if (sym < 0) return false;
            window[out++] = static_cast<uint8_t>(sym);
            continue;
        }
        if (sym == 256) return true;
        sym -= 257;
        if (sym >= 29) return false;
        unsigned length = kLengthBase[sym] + br.take(kLengthExtra[sym]);
        int dsym = decodeSymbol(dist, br);
        if (dsym < 0 || dsym >= 30) return false;
        unsigned distance = kDistanceBase[dsym] + br.take(kDistanceExtra[dsym]);
        if (length > limit - out) length = limit - out;
        unsigned src = (out - distance) & kWindowMask;
        if (distance >= length && src + length <= kWindowSize) {
            std::memmove(window + out, window + src, length);
            out += length;
        } else {
            for (unsigned i = 0; i < length; ++i) window[out + i] = window[(src + i) & kWindowMask];
            out += length;
        }
    }
    return true;
}

bool inflateStored(MszipDecoder& d, unsigned& out, unsigned limit) {
    BitReader& br = d.in;
    br.drop(br.count & 7u);
    br.refill();
    unsigned length = br.take(16);
    unsigned complement = br.take(16);
    if ((length ^ 0xFFFFu) != complement) return false;
    while (length > 0 && br.count >= 8 && out < limit) {
        d.window[out++] = static_cast<uint8_t>(br.take(8));
        --length;
    }
    if (length == 0) return true;
    if (out >= limit) return true;
    // The bit buffer is empty now; copy the rest straight from the input.
    unsigned room = limit - out;
    unsigned n = length < room ? length : room;
    size_t available = br.pos < br.size ? br.size - br.pos : 0;
    size_t fromInput = n < available ? n : available;
    std::memcpy(d.window + out, br.data + br.pos, fromInput);
    std::memset(d.window + out + fromInput, 0, n - fromInput);
    br.pos += fromInput;
    out += n;
    br.bits = 0;
    br.count = 0;
    return true;
}

}  // namespace

int CreateMszipDecoder(unsigned maxOutput, const DecoderAllocator& allocator, MszipDecoder** decoder,
                       unsigned* inputBufferSize) {
    *decoder = nullptr;
    void* memory = allocator.allocate(sizeof(MszipDecoder));
    if (memory == nullptr) return kDecoderOutOfMemory;
    MszipDecoder* d = new (memory) MszipDecoder;
    d->freeBlock = allocator.free;
    d->maxOutput = (maxOutput == 0 || maxOutput > kWindowSize) ? kWindowSize : maxOutput;
    std::memset(d->window, 0, sizeof d->window);
    *decoder = d;
    if (inputBufferSize) *inputBufferSize = static_cast<unsigned>(kMszipInputBufferSize);
    return kDecoderOk;
}

int MszipDecompress(MszipDecoder* d, std::span<const uint8_t> in, std::span<uint8_t> out, size_t* produced) {
    if (produced) *produced = 0;
    if (d == nullptr || d->tag != kTag) return 1;
    if (in.size() < 2 || in.size() > kMszipInputBufferSize || in[0] != 'C' || in[1] != 'K') return 1;
    if (!d->fixedBuilt) buildFixedTables(*d);

    d->in = BitReader{};
    d->in.data = in.data() + 2;
    d->in.size = in.size() - 2;
    unsigned limit = d->maxOutput;
    if (out.size() < limit) limit = static_cast<unsigned>(out.size());
    unsigned pos = 0;
    for (;;) {
        d->in.refill();
        bool last = d->in.take(1) != 0;
        unsigned type = d->in.take(2);
        bool ok;
        if (type == 0) ok = inflateStored(*d, pos, limit);
        else if (type == 1) ok = inflateCodes(*d, d->fixedLiteral, d->fixedDistance, pos, limit);
        else if (type == 2) ok = readDynamicTables(*d) && inflateCodes(*d, d->literal, d->distance, pos, limit);
        else ok = false;
        if (!ok) return 1;
        if (last || pos >= limit) break;
    }
    std::memcpy(out.data(), d->window, pos);
    if (produced) *produced = pos;
    return 0;
}

int ResetMszipDecoder(MszipDecoder* d) { return (d != nullptr && d->tag == kTag) ? 0 : 1; }

void DestroyMszipDecoder(MszipDecoder* d) {
    if (d == nullptr || d->tag != kTag) return;
    d->tag = 0;
    void (*freeBlock)(void*) = d->freeBlock;
    d->~MszipDecoder();
    freeBlock(d);
}

}  // namespace quell::cabinet
