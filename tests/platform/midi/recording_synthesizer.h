#pragma once
// A synthesizer that writes down what it is asked to play, with the clock
// time of each message.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

#include "core/music/midi_stream.h"
#include "core/music/stream_event.h"
#include "platform/midi/stream_clock.h"
#include "platform/midi/synthesizer.h"

namespace quell::platform::test {

// A note-on of the key at velocity 100, as a stream event carries it.
inline uint32_t note(uint8_t key) { return 0x90 | (uint32_t(key) << 8) | (100u << 16); }

// A 1024-byte stream buffer holding the events given.
struct Buffer {
    Buffer() = default;
    explicit Buffer(const std::vector<music::StreamEvent>& events) { fill(events); }
    void fill(const std::vector<music::StreamEvent>& events) {
        for (size_t i = 0; i < events.size(); ++i) music::writeStreamEvent(bytes.data() + 12 * i, events[i]);
        header.data = bytes.data();
        header.bufferLength = 1024;
        header.bytesRecorded = uint32_t(12 * events.size());
    }
    std::vector<uint8_t> bytes = std::vector<uint8_t>(1024);
    music::StreamHeader header;
};

struct Played {
    int64_t time;
    uint32_t message;  // status | data1 << 8 | data2 << 16; 0 for a silence
};

class RecordingLog {
public:
    void add(Played p) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_played.push_back(p);
        }
        m_cv.notify_all();
    }
    std::vector<Played> played() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_played;
    }
    // Waits (real time) until at least n messages are written down.
    bool waitFor(size_t n, std::chrono::milliseconds timeout = std::chrono::milliseconds(3000)) {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_cv.wait_for(lock, timeout, [&] { return m_played.size() >= n; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::vector<Played> m_played;
};

class RecordingSynthesizer final : public Synthesizer {
public:
    RecordingSynthesizer(RecordingLog& log, StreamClock& clock) : m_log(log), m_clock(clock) {}
    void shortMessage(uint8_t status, uint8_t d1, uint8_t d2) override {
        m_log.add({m_clock.nowMicros(), uint32_t(status) | (uint32_t(d1) << 8) | (uint32_t(d2) << 16)});
    }
    void silence() override { m_log.add({m_clock.nowMicros(), 0}); }

private:
    RecordingLog& m_log;
    StreamClock& m_clock;
};

// Time moves only when the test says so.
class ManualClock final : public StreamClock {
public:
    int64_t nowMicros() override {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_now;
    }
    void waitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, int64_t deadline) override {
        {
            std::lock_guard<std::mutex> guard(m_mutex);
            if (m_now >= deadline) return;
            m_waiters.push_back({lock.mutex(), &cv});
        }
        cv.wait(lock);
    }
    void advanceTo(int64_t t) {
        std::vector<Waiter> waiters;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_now = t;
            waiters.swap(m_waiters);
        }
        for (const Waiter& w : waiters) {
            std::lock_guard<std::mutex> lock(*w.mutex);
            w.cv->notify_all();
        }
    }

private:
    struct Waiter {
        std::mutex* mutex;
        std::condition_variable* cv;
    };
    std::mutex m_mutex;
    int64_t m_now = 0;
    std::vector<Waiter> m_waiters;
};

}  // namespace quell::platform::test
