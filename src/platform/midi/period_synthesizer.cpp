#include "platform/midi/period_synthesizer.h"

#include "platform/midi/timing_thread.h"

#include <algorithm>

namespace quell::platform {

namespace {

// A render that fell this far behind the clock (the process was stopped)
// starts again at the present instead of catching up in one burst.
constexpr int64_t kMaxBacklogMicros = 1000000;

}  // namespace

PeriodSynthesizer::PeriodSynthesizer(std::unique_ptr<Renderer> renderer, StreamClock& clock, int periodFrames)
    : m_renderer(std::move(renderer)), m_format(m_renderer->format()), m_clock(clock) {
    int block = std::max(1, m_format.blockFrames);
    // Whole blocks only, so every period starts on a block boundary.
    m_periodFrames = std::max(block, periodFrames / block * block);
}

PeriodSynthesizer::~PeriodSynthesizer() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable()) m_thread.join();
}

void PeriodSynthesizer::shortMessage(uint8_t status, uint8_t data1, uint8_t data2) {
    m_renderer->shortMessage(status, data1, data2);
}

void PeriodSynthesizer::silence() { m_renderer->silence(); }

bool PeriodSynthesizer::attachPlayer(PeriodPlayer& player) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_thread.joinable()) return false;
    // The audio begins when the player attaches, not when the thread gets
    // round to starting.
    int64_t anchor = m_clock.nowMicros();
    m_thread = std::thread([this, &player, anchor] { run(player, anchor); });
    return true;
}

void PeriodSynthesizer::run(PeriodPlayer& player, int64_t anchor) {
    tuneTimingThread();
    const int rate = std::max(1, m_format.rate);
    std::unique_lock<std::mutex> lock(m_mutex);
    int64_t rendered = 0;  // frames since the anchor
    while (!m_stopping) {
        int64_t start = anchor + rendered * 1000000 / rate;
        int64_t now = m_clock.nowMicros();
        if (now < start) {
            m_clock.waitUntil(lock, m_wake, start);
            continue;
        }
        if (now - start > kMaxBacklogMicros) {
            anchor = now;
            rendered = 0;
            start = now;
        }
        lock.unlock();
        renderPeriod(player, m_format, start, m_periodFrames, [this](int, int count) { m_renderer->render(count); });
        lock.lock();
        rendered += m_periodFrames;
    }
}

}  // namespace quell::platform
