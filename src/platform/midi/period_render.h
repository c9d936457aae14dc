#pragma once
// One period of audio rendered with the stream's events in it: the period is
// cut where events fall due, each event is played at the first block boundary
// at or after its time (the synthesizer takes messages between blocks), and
// the audio between them is rendered in one piece.
#include <cstdint>
#include <functional>

#include "platform/midi/synthesizer.h"

namespace quell::platform {

struct RenderFormat {
    int rate = 44100;      // frames a second
    int blockFrames = 64;  // the synthesizer's own block
};

// Renders frames frames whose first sounds at the clock time start; render
// is called with the offset and length of each piece, in order.
void renderPeriod(PeriodPlayer& player, const RenderFormat& format, int64_t start, int frames,
                  const std::function<void(int offset, int count)>& render);

// The clock time at which each period of a render that the output paces
// begins: periods follow each other without a gap, so an event's place in
// the audio does not jitter with the moment its period is asked for. When
// the output's requests drift from the clock by more than a bound (it
// started, stalled or runs at a rate of its own), the timeline starts again
// at the present.
class RenderTimeline {
public:
    RenderTimeline(int rate, int64_t maxDrift) : m_rate(rate), m_maxDrift(maxDrift) {}
    // The start of a period of frames frames asked for at the clock time now.
    int64_t begin(int64_t now, int frames);

private:
    int m_rate;
    int64_t m_maxDrift;
    bool m_started = false;
    int64_t m_anchor = 0;  // clock time of frame 0
    int64_t m_frames = 0;  // frames rendered since the anchor
};

}  // namespace quell::platform
