#pragma once
// The 12-byte event records of a MIDI stream buffer: delta time in ticks,
// stream id, event word, each a little-endian 32-bit word.
#include <cstdint>

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

inline void writeLittle32(uint8_t* p, uint32_t value) {
    p[0] = uint8_t(value);
    p[1] = uint8_t(value >> 8);
    p[2] = uint8_t(value >> 16);
    p[3] = uint8_t(value >> 24);
}

inline uint32_t readLittle32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

inline void writeStreamEvent(uint8_t* p, const StreamEvent& e) {
    writeLittle32(p, e.deltaTime);
    writeLittle32(p + 4, e.streamId);
    writeLittle32(p + 8, e.event);
}

inline StreamEvent readStreamEvent(const uint8_t* p) {
    return {readLittle32(p), readLittle32(p + 4), readLittle32(p + 8)};
}

}  // namespace quell::music
