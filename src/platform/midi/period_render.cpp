#include "platform/midi/period_render.h"

#include <algorithm>
#include <cstdlib>

namespace quell::platform {

namespace {

constexpr int64_t kMicros = 1000000;

int64_t framesToMicros(int64_t frames, int rate) { return frames * kMicros / rate; }

}  // namespace

void renderPeriod(PeriodPlayer& player, const RenderFormat& format, int64_t start, int frames,
                  const std::function<void(int offset, int count)>& render) {
    int done = 0;
    while (done < frames) {
        // The clock time of frame done rounds down, so an event that the
        // rounding up below placed on this frame is due by it.
        std::optional<int64_t> next = player.playDue(start + framesToMicros(done, format.rate));
        int until = frames;
        if (next) {
            int64_t offset = (std::max<int64_t>(0, *next - start) * format.rate + kMicros - 1) / kMicros;
            int64_t block = format.blockFrames > 0 ? format.blockFrames : 1;
            offset = (offset + block - 1) / block * block;
            if (offset < frames) until = int(std::max<int64_t>(offset, done + 1));
        }
        render(done, until - done);
        done = until;
    }
}

int64_t RenderTimeline::begin(int64_t now, int frames) {
    int64_t expected = m_anchor + framesToMicros(m_frames, m_rate);
    if (!m_started || std::llabs(now - expected) > m_maxDrift) {
        m_started = true;
        m_anchor = now;
        m_frames = 0;
        expected = now;
    }
    m_frames += frames;
    return expected;
}

}  // namespace quell::platform
