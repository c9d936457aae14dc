#pragma once
// Our MIDI stream service. Over a synthesizer that renders in periods on a
// thread of its own, that thread plays the queued buffers' events at their
// places in each period and delivers the notifications between them. Over
// any other, a scheduler thread plays the events at their times and a
// notification thread of its own hands buffers back and reports flagged
// events. Either way notifications never arrive inside a caller's call.
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "core/music/midi_stream.h"
#include "platform/midi/stream_clock.h"
#include "platform/midi/stream_engine.h"
#include "platform/midi/synthesizer.h"

namespace quell::platform {

class ThreadedMidiStream final : public music::MidiStream, private PeriodPlayer {
public:
    // Makes the synthesizer when the stream first opens; nullptr means the
    // device cannot be opened. The synthesizer is kept until the stream is
    // destroyed.
    using SynthesizerFactory = std::function<std::unique_ptr<Synthesizer>()>;

    explicit ThreadedMidiStream(SynthesizerFactory factory, StreamClock& clock = systemStreamClock());
    // Must not run on the notification thread.
    ~ThreadedMidiStream() override;

    int open(music::MidiStreamClient* client) override;
    int setTimeDivision(uint32_t division) override;
    int prepareHeader(music::StreamHeader& header) override;
    int unprepareHeader(music::StreamHeader& header) override;
    int out(music::StreamHeader& header) override;
    int restart() override;
    int stop() override;
    int reset() override;
    // Silences the synthesizer and delivers every outstanding notification,
    // the close one last, before it returns (unless called from a
    // notification).
    int close() override;

    void setDispatchProbe(std::function<void(int64_t ideal, int64_t actual)> probe);

private:
    struct Pending {
        enum Kind { Opened, Closed, Done, Position } kind;
        music::MidiStreamClient* client;
        music::StreamHeader* header;
        uint32_t event;
    };

    std::optional<int64_t> playDue(int64_t at) override;
    void startThreads();
    void schedulerLoop();
    void notifierLoop();
    void collectLocked();
    void post(Pending pending);
    // Delivers what is pending with the lock released around each call.
    void deliverLocked(std::unique_lock<std::mutex>& lock);
    // Waits until every notification posted so far has been delivered.
    void waitDelivered(std::unique_lock<std::mutex>& lock);
    bool deliveringHere() const { return m_delivering && m_deliverer == std::this_thread::get_id(); }

    SynthesizerFactory m_factory;
    StreamClock& m_clock;
    std::mutex m_mutex;
    std::condition_variable m_schedulerWake;
    std::condition_variable m_notifierWake;
    std::condition_variable m_delivered;
    std::deque<Pending> m_pending;
    bool m_delivering = false;
    std::thread::id m_deliverer;
    bool m_paced = false;  // the synthesizer's render thread plays the events
    bool m_shutdown = false;
    bool m_open = false;
    music::MidiStreamClient* m_client = nullptr;
    std::unique_ptr<Synthesizer> m_synth;
    StreamEngine m_engine;
    std::function<void(int64_t, int64_t)> m_probe;
    std::thread m_scheduler;
    std::thread m_notifier;
};

}  // namespace quell::platform
