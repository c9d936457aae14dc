#include "platform/midi/stream_clock.h"

#include <chrono>

namespace quell::platform {

namespace {

class SystemStreamClock final : public StreamClock {
public:
    int64_t nowMicros() override {
        return std::chrono::duration_cast<std::chrono::microseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    void waitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, int64_t deadline) override {
        cv.wait_until(lock, std::chrono::steady_clock::time_point(std::chrono::microseconds(deadline)));
    }
};

}  // namespace

StreamClock& systemStreamClock() {
    static SystemStreamClock clock;
    return clock;
}

}  // namespace quell::platform
