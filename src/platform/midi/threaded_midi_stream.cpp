#include "platform/midi/threaded_midi_stream.h"

#include "platform/midi/timing_thread.h"

#include <algorithm>
#include <chrono>

namespace quell::platform {

using music::StreamHeader;

ThreadedMidiStream::ThreadedMidiStream(SynthesizerFactory factory, StreamClock& clock)
    : m_factory(std::move(factory)), m_clock(clock) {}

ThreadedMidiStream::~ThreadedMidiStream() {
    std::unique_ptr<Synthesizer> synth;
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (m_open) {
            m_engine.stop();
            m_engine.setSynthesizer(nullptr);
            collectLocked();
            m_open = false;
            post({Pending::Closed, m_client, nullptr, 0});
        }
        // The render thread delivers the last notifications; it stops with
        // the synthesizer, which therefore goes only after them.
        if (m_paced) waitDelivered(lock);
        synth = std::move(m_synth);
        m_shutdown = true;
    }
    m_schedulerWake.notify_all();
    m_notifierWake.notify_all();
    if (m_scheduler.joinable()) m_scheduler.join();
    if (m_notifier.joinable()) m_notifier.join();
    synth.reset();
}

void ThreadedMidiStream::setDispatchProbe(std::function<void(int64_t, int64_t)> probe) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_probe = std::move(probe);
    m_engine.setDispatchProbe(m_probe);
}

void ThreadedMidiStream::startThreads() {
    if (m_paced || m_scheduler.joinable()) return;
    m_scheduler = std::thread([this] { schedulerLoop(); });
    m_notifier = std::thread([this] { notifierLoop(); });
}

int ThreadedMidiStream::open(music::MidiStreamClient* client) {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_open) return 4;  // already allocated
    if (!m_synth) {
        // Making the synthesizer can take a while (soundfont, audio device);
        // it happens outside the lock. It then lives as long as the stream,
        // so a close and reopen neither restarts the audio output nor starts
        // a WAV file over.
        lock.unlock();
        std::unique_ptr<Synthesizer> synth = m_factory ? m_factory() : nullptr;
        if (!synth) return music::kStreamNoDriver;
        lock.lock();
        if (m_open) return 4;
        if (!m_synth) {
            m_synth = std::move(synth);
            m_paced = m_synth->attachPlayer(*this);
        }
    }
    m_engine = StreamEngine();
    m_engine.setSynthesizer(m_synth.get());
    m_engine.setDispatchProbe(m_probe);
    m_client = client;
    m_open = true;
    startThreads();
    post({Pending::Opened, client, nullptr, 0});
    return music::kStreamOk;
}

int ThreadedMidiStream::setTimeDivision(uint32_t division) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_open) return music::kStreamInvalidHandle;
    return m_engine.setTimeDivision(division) ? music::kStreamOk : music::kStreamInvalidParam;
}

int ThreadedMidiStream::prepareHeader(StreamHeader& header) {
    if (header.data == nullptr || header.bufferLength == 0) return music::kStreamInvalidParam;
    std::lock_guard<std::mutex> lock(m_mutex);
    header.flags |= music::MHDR_PREPARED;
    return music::kStreamOk;
}

int ThreadedMidiStream::unprepareHeader(StreamHeader& header) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (header.flags & music::MHDR_INQUEUE) return music::kStreamStillPlaying;
    header.flags &= ~music::MHDR_PREPARED;
    return music::kStreamOk;
}

int ThreadedMidiStream::out(StreamHeader& header) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_open) return music::kStreamInvalidHandle;
        if (!(header.flags & music::MHDR_PREPARED)) return music::kStreamUnprepared;
        if (header.flags & music::MHDR_INQUEUE) return music::kStreamStillPlaying;
        if (header.bytesRecorded > header.bufferLength) return music::kStreamInvalidParam;
        header.flags = (header.flags | music::MHDR_INQUEUE) & ~music::MHDR_DONE;
        m_engine.enqueue(&header, m_clock.nowMicros());
    }
    m_schedulerWake.notify_all();
    return music::kStreamOk;
}

int ThreadedMidiStream::restart() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_open) return music::kStreamInvalidHandle;
        m_engine.restart(m_clock.nowMicros());
    }
    m_schedulerWake.notify_all();
    return music::kStreamOk;
}

int ThreadedMidiStream::stop() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_open) return music::kStreamInvalidHandle;
        m_engine.stop();
        collectLocked();
    }
    m_schedulerWake.notify_all();
    return music::kStreamOk;
}

int ThreadedMidiStream::reset() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_open) return music::kStreamInvalidHandle;
        m_engine.reset();
        collectLocked();
    }
    m_schedulerWake.notify_all();
    return music::kStreamOk;
}

int ThreadedMidiStream::close() {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!m_open) return music::kStreamInvalidHandle;
    if (m_engine.queued() != 0) return music::kStreamStillPlaying;
    m_open = false;
    if (m_synth) m_synth->silence();
    m_engine.setSynthesizer(nullptr);
    post({Pending::Closed, m_client, nullptr, 0});
    if (!deliveringHere()) waitDelivered(lock);
    return music::kStreamOk;
}

void ThreadedMidiStream::post(Pending pending) {
    m_pending.push_back(pending);
    // The render thread looks for notifications at every stretch it renders.
    if (!m_paced) m_notifierWake.notify_all();
}

void ThreadedMidiStream::collectLocked() {
    const std::vector<StreamNotification>& notifications = m_engine.notifications();
    if (notifications.empty()) return;
    for (const StreamNotification& n : notifications) {
        m_pending.push_back({n.kind == StreamNotification::BufferDone ? Pending::Done : Pending::Position, m_client,
                             n.header, n.event});
    }
    m_engine.clearNotifications();
    // One wake-up for the whole batch.
    if (!m_paced) m_notifierWake.notify_all();
}

void ThreadedMidiStream::deliverLocked(std::unique_lock<std::mutex>& lock) {
    while (!m_pending.empty()) {
        Pending p = m_pending.front();
        m_pending.pop_front();
        m_delivering = true;
        m_deliverer = std::this_thread::get_id();
        lock.unlock();
        if (p.client) {
            switch (p.kind) {
            case Pending::Opened: p.client->onStreamOpened(); break;
            case Pending::Closed: p.client->onStreamClosed(); break;
            case Pending::Done: p.client->onStreamBufferDone(*p.header); break;
            case Pending::Position: p.client->onStreamPosition(*p.header, p.event); break;
            }
        }
        lock.lock();
        m_delivering = false;
    }
    m_delivered.notify_all();
}

void ThreadedMidiStream::waitDelivered(std::unique_lock<std::mutex>& lock) {
    auto delivered = [this] { return m_pending.empty() && !m_delivering; };
    if (!m_paced) {
        m_delivered.wait(lock, delivered);
        return;
    }
    // The render thread delivers at its next period. An output that has
    // stopped asking for periods (its device went away) would never do so:
    // what it has not delivered by then is dropped.
    if (!m_delivered.wait_for(lock, std::chrono::seconds(2), delivered)) {
        m_pending.clear();
        m_delivered.wait(lock, [this] { return !m_delivering; });
    }
}

std::optional<int64_t> ThreadedMidiStream::playDue(int64_t at) {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        std::optional<int64_t> next;
        if (m_open) {
            next = m_engine.advance(at);
            collectLocked();
        }
        if (m_pending.empty()) return next;
        // A buffer handed back is usually queued again from inside its
        // notification; what it brings may be due within this stretch.
        deliverLocked(lock);
    }
}

void ThreadedMidiStream::schedulerLoop() {
    tuneTimingThread();
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_shutdown) {
        std::optional<int64_t> next;
        if (m_open) {
            next = m_engine.advance(m_clock.nowMicros());
            collectLocked();
        }
        if (next) m_clock.waitUntil(lock, m_schedulerWake, *next);
        else m_schedulerWake.wait(lock);
    }
}

void ThreadedMidiStream::notifierLoop() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_notifierWake.wait(lock, [this] { return m_shutdown || !m_pending.empty(); });
        if (m_pending.empty()) return;  // shut down with nothing left to say
        deliverLocked(lock);
    }
}

}  // namespace quell::platform
