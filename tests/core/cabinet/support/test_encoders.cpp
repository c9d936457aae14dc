#include "support/test_encoders.h"

#include <algorithm>

namespace cabtest {
namespace {

using quell::cabinet::quantum::kSlots;
using quell::cabinet::quantum::Model;

constexpr size_t kHashSize = 1 << 16;
constexpr int kChainLimit = 64;

uint32_t hash3(const uint8_t* p) { return ((p[0] << 10) ^ (p[1] << 5) ^ p[2]) & (kHashSize - 1); }

// Deflate bits go out least significant first.
struct LsbWriter {
    std::vector<uint8_t> out;
    uint32_t bits = 0;
    unsigned count = 0;
    void put(uint32_t value, unsigned n) {
        for (unsigned i = 0; i < n; ++i) {
            bits |= ((value >> i) & 1u) << count;
            if (++count == 8) {
                out.push_back(static_cast<uint8_t>(bits));
                bits = 0;
                count = 0;
            }
        }
    }
    // A Huffman code is sent most significant bit first.
    void code(uint32_t value, unsigned n) {
        for (unsigned i = n; i-- > 0;) put((value >> i) & 1u, 1);
    }
    void flush() {
        if (count) out.push_back(static_cast<uint8_t>(bits));
        bits = 0;
        count = 0;
    }
};

constexpr uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                      31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr uint16_t kDistanceBase[30] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                        33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                        1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                        6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void fixedLiteral(LsbWriter& w, unsigned sym) {
    if (sym < 144) w.code(0x30 + sym, 8);
    else if (sym < 256) w.code(0x190 + sym - 144, 9);
    else if (sym < 280) w.code(sym - 256, 7);
    else w.code(0xC0 + sym - 280, 8);
}

}  // namespace

MatchFinder::MatchFinder(std::span<const uint8_t> data, size_t from)
    : m_data(data), m_inserted(from), m_head(kHashSize, -1), m_prev(data.size(), -1) {}

void MatchFinder::advanceTo(size_t pos) {
    for (; m_inserted < pos; ++m_inserted) {
        if (m_inserted + 3 > m_data.size()) continue;
        uint32_t h = hash3(m_data.data() + m_inserted);
        m_prev[m_inserted] = m_head[h];
        m_head[h] = static_cast<int32_t>(m_inserted);
    }
}

size_t MatchFinder::longest(size_t pos, size_t maxLength, size_t maxDistance, size_t* distance) const {
    if (pos + 3 > m_data.size() || maxLength < 3) return 0;
    size_t best = 0;
    int32_t candidate = m_head[hash3(m_data.data() + pos)];
    for (int chain = 0; candidate >= 0 && chain < kChainLimit; ++chain, candidate = m_prev[candidate]) {
        size_t d = pos - static_cast<size_t>(candidate);
        if (d > maxDistance) break;
        size_t n = 0;
        while (n < maxLength && m_data[candidate + n] == m_data[pos + n]) ++n;
        if (n > best) {
            best = n;
            *distance = d;
            if (n == maxLength) break;
        }
    }
    return best >= 3 ? best : 0;
}

std::vector<uint8_t> FixedDeflateEncoder::encode(std::span<const uint8_t> block) {
    std::vector<uint8_t> data(m_history);
    const size_t start = data.size();
    data.insert(data.end(), block.begin(), block.end());
    MatchFinder finder(data, 0);
    LsbWriter w;
    w.out = {'C', 'K'};
    w.put(1, 1);  // final
    w.put(1, 2);  // fixed Huffman codes
    size_t pos = start;
    while (pos < data.size()) {
        finder.advanceTo(pos);
        size_t distance = 0;
        const size_t length = finder.longest(pos, std::min<size_t>(258, data.size() - pos), 32768, &distance);
        if (length == 0) {
            fixedLiteral(w, data[pos]);
            ++pos;
            continue;
        }
        unsigned ls = 28;
        while (kLengthBase[ls] > length) --ls;
        fixedLiteral(w, 257 + ls);
        w.put(static_cast<uint32_t>(length - kLengthBase[ls]), kLengthExtra[ls]);
        unsigned ds = 29;
        while (kDistanceBase[ds] > distance) --ds;
        w.code(ds, 5);
        w.put(static_cast<uint32_t>(distance - kDistanceBase[ds]), kDistanceExtra[ds]);
        pos += length;
    }
    fixedLiteral(w, 256);
    w.flush();
    m_history.assign(block.begin(), block.end());
    if (w.out.size() > 32768 + 12) {
        // Incompressible: one final stored block always fits.
        const uint16_t n = static_cast<uint16_t>(block.size());
        std::vector<uint8_t> stored{'C',
                                    'K',
                                    0x01,
                                    static_cast<uint8_t>(n),
                                    static_cast<uint8_t>(n >> 8),
                                    static_cast<uint8_t>(~n),
                                    static_cast<uint8_t>(~n >> 8)};
        stored.insert(stored.end(), block.begin(), block.end());
        return stored;
    }
    return w.out;
}

namespace {

// The arithmetic coder mirror of the decoder. Raw extra bits are placed where
// the decoder will read them: behind the arithmetic bits it holds by then
// (16 plus one per shift).
struct QuantumBitStream {
    std::vector<uint8_t> arithmetic;  // one entry per bit
    struct Raw {
        size_t at;
        uint32_t value;
        unsigned bits;
    };
    std::vector<Raw> raws;
    uint32_t low = 0, high = 0xFFFF;
    size_t pending = 0;
    size_t shifts = 0;

    void emit(unsigned bit) {
        arithmetic.push_back(static_cast<uint8_t>(bit));
        for (; pending > 0; --pending) arithmetic.push_back(static_cast<uint8_t>(bit ^ 1u));
    }

    void encode(Model& m, unsigned symbol) {
        unsigned i = 0;
        while (m.symbol[i] != symbol) ++i;
        const uint32_t range = ((high - low) & 0xFFFF) + 1;
        const uint32_t total = m.cumulative[0];
        const uint32_t h = low + (m.cumulative[i] * range) / total - 1;
        const uint32_t l = low + (m.cumulative[i + 1] * range) / total;
        high = h & 0xFFFF;
        low = l & 0xFFFF;
        m.update(i);
        for (;;) {
            if (((low ^ high) & 0x8000) == 0) {
                emit(low >> 15);
            } else if ((low & 0x4000) && !(high & 0x4000)) {
                ++pending;
                low &= 0x3FFF;
                high |= 0x4000;
            } else {
                break;
            }
            low = (low << 1) & 0xFFFF;
            high = ((high << 1) | 1) & 0xFFFF;
            ++shifts;
        }
    }

    void raw(uint32_t value, unsigned bits) {
        if (bits) raws.push_back({16 + shifts, value, bits});
    }

    std::vector<uint8_t> finish() {
        emit(low >> 15);
        for (int b = 14; b >= 0; --b) arithmetic.push_back(static_cast<uint8_t>((low >> b) & 1));
        std::vector<uint8_t> bits;
        size_t next = 0;
        for (const Raw& r : raws) {
            while (next < r.at && next < arithmetic.size()) bits.push_back(arithmetic[next++]);
            for (unsigned b = r.bits; b-- > 0;) bits.push_back(static_cast<uint8_t>((r.value >> b) & 1));
        }
        while (next < arithmetic.size()) bits.push_back(arithmetic[next++]);
        std::vector<uint8_t> out((bits.size() + 7) / 8, 0);
        for (size_t i = 0; i < bits.size(); ++i)
            if (bits[i]) out[i / 8] |= static_cast<uint8_t>(0x80 >> (i % 8));
        return out;
    }
};

unsigned slotFor(uint32_t value, unsigned slots) {
    unsigned s = slots - 1;
    while (kSlots.positionBase[s] > value) --s;
    return s;
}

}  // namespace

QuantumTestEncoder::QuantumTestEncoder(unsigned windowBits, bool literalsOnly)
    : m_windowBits(windowBits), m_literalsOnly(literalsOnly) {
    beginFolder();
}

uint16_t QuantumTestEncoder::compressionWord() const {
    return static_cast<uint16_t>(2 | (4 << 4) | (m_windowBits << 8));
}

void QuantumTestEncoder::beginFolder() {
    m_models.init(m_windowBits < 10 ? 10 : m_windowBits > 21 ? 21 : m_windowBits);
    m_history.clear();
}

std::vector<uint8_t> QuantumTestEncoder::encode(std::span<const uint8_t> block) {
    const size_t window = size_t{1} << m_windowBits;
    const size_t start = m_history.size();
    m_history.insert(m_history.end(), block.begin(), block.end());
    const std::vector<uint8_t>& data = m_history;
    MatchFinder finder(data, start > window ? start - window : 0);
    QuantumBitStream s;
    auto maxOffsetFor = [&](unsigned slots) -> size_t {
        return slots >= quell::cabinet::quantum::kPositionSlots ? window : kSlots.positionBase[slots];
    };
    size_t pos = start;
    while (pos < data.size()) {
        finder.advanceTo(pos);
        const size_t remaining = data.size() - pos;
        size_t offset = 0;
        size_t length = 0;
        if (!m_literalsOnly) {
            length = finder.longest(pos, std::min<size_t>(259, remaining), window - 1, &offset);
            // Fit the match to what the selectors can say.
            if (length == 3 && offset > maxOffsetFor(m_models.position3.symbols)) length = 0;
            if (length == 4 && offset > maxOffsetFor(m_models.position4.symbols)) length = 3;
            if (length == 3 && offset > maxOffsetFor(m_models.position3.symbols)) length = 0;
        }
        if (length == 0) {
            const uint8_t byte = data[pos];
            s.encode(m_models.selector, byte / 64);
            s.encode(m_models.literal[byte / 64], byte % 64);
            ++pos;
            continue;
        }
        const uint32_t value = static_cast<uint32_t>(offset - 1);
        if (length == 3) {
            s.encode(m_models.selector, 4);
            unsigned slot = slotFor(value, m_models.position3.symbols);
            s.encode(m_models.position3, slot);
            s.raw(value - kSlots.positionBase[slot], kSlots.positionExtra[slot]);
        } else if (length == 4) {
            s.encode(m_models.selector, 5);
            unsigned slot = slotFor(value, m_models.position4.symbols);
            s.encode(m_models.position4, slot);
            s.raw(value - kSlots.positionBase[slot], kSlots.positionExtra[slot]);
        } else {
            s.encode(m_models.selector, 6);
            const uint32_t l = static_cast<uint32_t>(length - 5);
            unsigned ls = quell::cabinet::quantum::kLengthSlots - 1;
            while (kSlots.lengthBase[ls] > l) --ls;
            s.encode(m_models.length, ls);
            s.raw(l - kSlots.lengthBase[ls], kSlots.lengthExtra[ls]);
            unsigned slot = slotFor(value, m_models.position5.symbols);
            s.encode(m_models.position5, slot);
            s.raw(value - kSlots.positionBase[slot], kSlots.positionExtra[slot]);
        }
        pos += length;
    }
    if (m_history.size() > 2 * window + 65536)
        m_history.erase(m_history.begin(), m_history.end() - static_cast<long>(window));
    return s.finish();
}

}  // namespace cabtest
