#pragma once
// An event that releases one waiter per signal and clears itself when a wait
// takes it.
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace quell::music {

class AutoResetEvent {
public:
    void set() {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_signalled = true;
        }
        m_cv.notify_one();
    }

    // True when signalled within the time; false on a time-out.
    bool wait(std::chrono::milliseconds timeout) {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (!m_cv.wait_for(lock, timeout, [this] { return m_signalled; })) return false;
        m_signalled = false;
        return true;
    }

    // Takes a pending signal without waiting.
    bool tryTake() {
        std::lock_guard<std::mutex> lock(m_mutex);
        bool was = m_signalled;
        m_signalled = false;
        return was;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_signalled = false;
};

}  // namespace quell::music
