#pragma once
// A small Standard MIDI File writer: tracks collect events at absolute ticks
// and are written as format 1 chunks with delta times.
#include <cstdint>
#include <string>
#include <vector>

namespace quell1 {

void appendVarLen(std::vector<uint8_t>& out, uint32_t value);

class SmfTrack {
public:
    void addNote(uint32_t tick, uint32_t duration, int channel, int key, int velocity);
    void addControl(uint32_t tick, int channel, int controller, int value);
    void addProgram(uint32_t tick, int channel, int program);
    void addTempo(uint32_t tick, uint32_t microsecondsPerQuarter);
    void addTimeSignature(uint32_t tick, int numerator, int denominatorPower);
    void addName(uint32_t tick, const std::string& name);
    // Places the end of the track no earlier than tick, so that tracks of a
    // looping tune all end together.
    void setEnd(uint32_t tick) { m_end = tick; }
    // The chunk's event bytes, end-of-track included.
    std::vector<uint8_t> encode() const;

private:
    struct Event {
        uint32_t tick;
        int order;  // at one tick: note offs, then everything else, in insertion order
        uint32_t sequence;
        std::vector<uint8_t> bytes;
    };
    void add(uint32_t tick, int order, std::vector<uint8_t> bytes);
    std::vector<Event> m_events;
    uint32_t m_end = 0;
};

std::vector<uint8_t> encodeSmf(uint16_t division, const std::vector<SmfTrack>& tracks);

}  // namespace quell1
