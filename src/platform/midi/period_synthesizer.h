#pragma once
// A synthesizer whose audio goes nowhere a device paces (a file, or nowhere
// at all): a thread of its own renders it in periods at the pace of a stream
// clock, a period at the moment the period begins, and plays the stream's
// events inside each period at their places in the audio.
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/midi/period_render.h"
#include "platform/midi/stream_clock.h"
#include "platform/midi/synthesizer.h"

namespace quell::platform {

// What turns messages into audio. render is called on the render thread
// only; the messages may also come from other threads, outside a render.
class Renderer {
public:
    virtual ~Renderer() = default;
    virtual RenderFormat format() const = 0;
    virtual void shortMessage(uint8_t status, uint8_t data1, uint8_t data2) = 0;
    virtual void silence() = 0;
    virtual void render(int frames) = 0;
};

// Sound that nobody hears: what is left when synthesis costs nothing.
class NullRenderer final : public Renderer {
public:
    RenderFormat format() const override { return {}; }
    void shortMessage(uint8_t, uint8_t, uint8_t) override {}
    void silence() override {}
    void render(int) override {}
};

class PeriodSynthesizer final : public Synthesizer {
public:
    // 4096 frames at 44.1 kHz is 93 ms: about eleven wake-ups a second. A
    // period may hold more music than a stream buffer, because a buffer handed
    // back inside a period is queued again before the period goes on.
    static constexpr int kPeriodFrames = 4096;

    explicit PeriodSynthesizer(std::unique_ptr<Renderer> renderer, StreamClock& clock = systemStreamClock(),
                               int periodFrames = kPeriodFrames);
    // Stops the render thread after the period it is in.
    ~PeriodSynthesizer() override;
    PeriodSynthesizer(const PeriodSynthesizer&) = delete;
    PeriodSynthesizer& operator=(const PeriodSynthesizer&) = delete;

    void shortMessage(uint8_t status, uint8_t data1, uint8_t data2) override;
    void silence() override;
    // Starts the render thread; the audio begins at this moment.
    bool attachPlayer(PeriodPlayer& player) override;

private:
    void run(PeriodPlayer& player, int64_t anchor);

    std::unique_ptr<Renderer> m_renderer;
    RenderFormat m_format;
    StreamClock& m_clock;
    int m_periodFrames;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopping = false;
    std::thread m_thread;
};

}  // namespace quell::platform
