#pragma once
// What the MIDI stream service plays its short messages on.
#include <cstdint>
#include <optional>

namespace quell::platform {

// The side of the stream service that a synthesizer with a render thread of
// its own calls from that thread, so the service needs no thread that wakes
// for every event.
class PeriodPlayer {
public:
    virtual ~PeriodPlayer() = default;
    // Plays every event due by the clock time at (the place in the audio
    // being rendered), delivers the notifications that are waiting, and gives
    // the clock time of the next event, or nothing while none is queued.
    virtual std::optional<int64_t> playDue(int64_t at) = 0;
};

class Synthesizer {
public:
    virtual ~Synthesizer() = default;
    // One channel message: status 0x80 to 0xEF and its data bytes.
    virtual void shortMessage(uint8_t status, uint8_t data1, uint8_t data2) = 0;
    // Silences every sounding note on every channel at once.
    virtual void silence() = 0;
    // A synthesizer that renders audio in periods on a thread of its own
    // calls player before each stretch it renders, from then until it is
    // destroyed, and gives true. One that cannot gives false; the service then
    // times the events itself. The player outlives the synthesizer.
    virtual bool attachPlayer(PeriodPlayer& player) {
        (void)player;
        return false;
    }
};

}  // namespace quell::platform
