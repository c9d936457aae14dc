#pragma once
// Builds Standard MIDI File images byte by byte for the music tests.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace quell::music::test {

using Bytes = std::vector<uint8_t>;

// A variable-length quantity, most significant group first.
Bytes varLen(uint32_t value);

// The bytes of one track: append events with their delta times.
class TrackBuilder {
public:
    TrackBuilder& raw(std::initializer_list<uint8_t> bytes);
    TrackBuilder& raw(const Bytes& bytes);
    TrackBuilder& delta(uint32_t ticks);
    // delta + status + data bytes.
    TrackBuilder& event(uint32_t ticks, std::initializer_list<uint8_t> bytes);
    TrackBuilder& meta(uint32_t ticks, uint8_t type, const Bytes& data);
    TrackBuilder& tempo(uint32_t ticks, uint32_t microsPerQuarter);
    TrackBuilder& sysex(uint32_t ticks, const Bytes& data);
    TrackBuilder& endOfTrack(uint32_t ticks = 0);
    const Bytes& bytes() const { return m_bytes; }

private:
    Bytes m_bytes;
};

// "MThd" + 6 + format, track count, division, then one "MTrk" chunk per track.
Bytes smfFile(const std::vector<TrackBuilder>& tracks, uint16_t division = 96, uint16_t format = 1);
Bytes chunk(const std::string& id, const Bytes& body);
Bytes header(uint16_t format, uint16_t trackCount, uint16_t division, uint32_t headerLength = 6);

Bytes concat(std::initializer_list<Bytes> parts);

}  // namespace quell::music::test
