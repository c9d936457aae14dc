#pragma once
// The 12-byte event records of a MIDI stream buffer: delta time in ticks,
// stream id, event word, each a little-endian 32-bit word.
#include <cstdint>

#include "core/bytes.h"

namespace quell::music {

constexpr uint32_t kStreamEventSize = 12;

constexpr uint32_t MEVT_SHORTMSG = 0x00;
constexpr uint32_t MEVT_TEMPO = 0x01;
constexpr uint32_t MEVT_NOP = 0x02;
constexpr uint32_t MEVT_F_CALLBACK = 0x40000000;
constexpr uint32_t MEVT_F_LONG = 0x80000000;

constexpr uint32_t eventType(uint32_t event) { return (event >> 24) & 0x3F; }
constexpr uint32_t eventParameter(uint32_t event) { return event & 0x00FFFFFF; }

struct StreamEvent {
    uint32_t deltaTime = 0;
    uint32_t streamId = 0;
    uint32_t event = 0;
};

// p must have room for one whole record (kStreamEventSize bytes).
inline void writeStreamEvent(uint8_t* p, const StreamEvent& e) {
    bytes::writeLe32(p, e.deltaTime);
    bytes::writeLe32(p + 4, e.streamId);
    bytes::writeLe32(p + 8, e.event);
}

inline StreamEvent readStreamEvent(const uint8_t* p) {
    const bytes::Bytes record(p, kStreamEventSize);
    return {bytes::readLe32(record, 0), bytes::readLe32(record, 4), bytes::readLe32(record, 8)};
}

}  // namespace quell::music
