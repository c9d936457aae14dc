#pragma once
// The time base of the MIDI stream service, in microseconds. The service
// waits through the clock so a test can drive time by hand.
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace quell::platform {

class StreamClock {
public:
    virtual ~StreamClock() = default;
    virtual int64_t nowMicros() = 0;
    // Waits on cv (lock held) until the deadline or a notification of cv,
    // whichever comes first; spurious returns are allowed.
    virtual void waitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, int64_t deadline) = 0;
};

// The monotonic clock of the system.
StreamClock& systemStreamClock();

}  // namespace quell::platform
