#pragma once
// The slot tables and model rules Quantum's coder and decoder share.
#include <cstdint>

namespace quell::cabinet::quantum {

inline constexpr unsigned kPositionSlots = 42;
inline constexpr unsigned kLengthSlots = 27;

struct SlotTables {
    uint32_t positionBase[kPositionSlots];
    uint8_t positionExtra[kPositionSlots];
    uint16_t lengthBase[kLengthSlots];
    uint8_t lengthExtra[kLengthSlots];
};

constexpr SlotTables makeSlotTables() {
    SlotTables t{};
    for (unsigned i = 0; i < kPositionSlots; ++i) {
        t.positionExtra[i] = static_cast<uint8_t>(i < 4 ? 0 : (i - 2) / 2);
        t.positionBase[i] = i == 0 ? 0 : t.positionBase[i - 1] + (uint32_t{1} << t.positionExtra[i - 1]);
    }
    for (unsigned i = 0; i < kLengthSlots; ++i) {
        t.lengthExtra[i] = static_cast<uint8_t>(i < 6 ? 0 : i == kLengthSlots - 1 ? 0 : (i - 2) / 4);
        t.lengthBase[i] = static_cast<uint16_t>(i == 0 ? 0 : t.lengthBase[i - 1] + (1u << t.lengthExtra[i - 1]));
    }
    return t;
}

inline constexpr SlotTables kSlots = makeSlotTables();

static_assert(kSlots.positionBase[41] == 1572864);
static_assert(kSlots.positionExtra[41] == 19);
static_assert(kSlots.lengthBase[11] == 18);
static_assert(kSlots.lengthBase[26] == 254);

// The number of position slots whose base lies below limit.
constexpr unsigned slotsBelow(uint32_t limit) {
    unsigned n = 0;
    while (n < kPositionSlots && kSlots.positionBase[n] < limit) ++n;
    return n;
}

inline constexpr unsigned kSelectorSymbols = 7;
inline constexpr unsigned kLiteralSymbols = 64;
inline constexpr unsigned kMaxModelSymbols = 64;
inline constexpr unsigned kRescaleTotal = 3800;

// The entries of a model are kept in groups of eight (kMaxModelSymbols + 1
// rounded up), so that a decoder can compare whole groups at once.
inline constexpr unsigned kModelLanes = 72;

// An adaptive model. cumulative[i] is the count of the entries from i on, so
// cumulative[0] holds the total; cumulative[symbols] and every lane after it
// stay 0. symbol[i] is the symbol entry i stands for.
struct Model {
    unsigned symbols = 0;
    unsigned countdown = 4;
    uint16_t cumulative[kModelLanes] = {};
    uint16_t symbol[kModelLanes] = {};

    void init(unsigned n) {
        symbols = n;
        countdown = 4;
        for (unsigned i = 0; i < kModelLanes; ++i) {
            cumulative[i] = static_cast<uint16_t>(i < n ? n - i : 0);
            symbol[i] = static_cast<uint16_t>(i < n ? i : 0);
        }
    }

    void rescale() {
        if (--countdown != 0) {
            for (int i = static_cast<int>(symbols) - 1; i >= 0; --i) {
                cumulative[i] >>= 1;
                if (cumulative[i] <= cumulative[i + 1]) cumulative[i] = static_cast<uint16_t>(cumulative[i + 1] + 1);
            }
            return;
        }
        countdown = 50;
        for (unsigned i = 0; i < symbols; ++i)
            cumulative[i] = static_cast<uint16_t>((cumulative[i] - cumulative[i + 1] + 1) >> 1);
        for (unsigned i = 0; i + 1 < symbols; ++i)
            for (unsigned j = i + 1; j < symbols; ++j)
                if (cumulative[j] > cumulative[i]) {
                    const uint16_t c = cumulative[i];
                    cumulative[i] = cumulative[j];
                    cumulative[j] = c;
                    const uint16_t s = symbol[i];
                    symbol[i] = symbol[j];
                    symbol[j] = s;
                }
        for (int i = static_cast<int>(symbols) - 1; i >= 0; --i)
            cumulative[i] = static_cast<uint16_t>(cumulative[i] + cumulative[i + 1]);
    }

    void update(unsigned index) {
        for (unsigned i = 0; i <= index; ++i) cumulative[i] = static_cast<uint16_t>(cumulative[i] + 8);
        if (cumulative[0] > kRescaleTotal) rescale();
    }
};

// The nine models of a folder, sized for a window of 2^windowBits bytes.
struct ModelSet {
    Model selector;
    Model literal[4];
    Model position3;
    Model position4;
    Model position5;
    Model length;

    void init(unsigned windowBits) {
        const uint32_t window = uint32_t{1} << windowBits;
        selector.init(kSelectorSymbols);
        for (Model& m : literal) m.init(kLiteralSymbols);
        position3.init(slotsBelow(window < 4096 ? window : 4096));
        position4.init(slotsBelow(window < 262144 ? window : 262144));
        position5.init(slotsBelow(window));
        length.init(kLengthSlots);
    }
};

}  // namespace quell::cabinet::quantum
