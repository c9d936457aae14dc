#pragma once
// A MidiStream that records every call and hands buffers back only when the
// test says so, or from a thread of its own when a stop or reset asks it to.
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/music/midi_stream.h"

namespace quell::music::test {

class FakeMidiStream : public MidiStream {
public:
    enum class ReturnOnReset { FromOwnThread, Never };

    ~FakeMidiStream() override;

    int open(MidiStreamClient* client) override;
    int setTimeDivision(uint32_t division) override;
    int prepareHeader(StreamHeader& header) override;
    int unprepareHeader(StreamHeader& header) override;
    int out(StreamHeader& header) override;
    int restart() override;
    int stop() override;
    int reset() override;
    int close() override;

    // Hands the oldest queued buffer back on the calling thread; false when none is queued.
    bool returnOldest();
    // Copies of the data of every buffer queued so far, in order.
    std::vector<std::vector<uint8_t>> queuedContents() const;
    void deliverPosition(uint32_t event);

    // Makes the named call give this code from now on (0 to heal it).
    void failWith(const std::string& call, int code);
    void setReturnOnReset(ReturnOnReset mode) { m_returnMode = mode; }
    // Waits for the stream's own returning thread, if one runs.
    void joinReturner();

    std::vector<std::string> calls() const;
    int count(const std::string& call) const;
    size_t queued() const;
    bool isOpen() const;
    bool running() const;
    uint32_t division() const { return m_division; }

private:
    int record(const std::string& call);
    void returnAllFromOwnThread();

    mutable std::mutex m_mutex;
    std::vector<std::string> m_calls;
    std::map<std::string, int> m_failures;
    std::deque<StreamHeader*> m_queue;
    std::vector<std::vector<uint8_t>> m_contents;
    MidiStreamClient* m_client = nullptr;
    bool m_open = false;
    bool m_running = false;
    uint32_t m_division = 0;
    ReturnOnReset m_returnMode = ReturnOnReset::FromOwnThread;
    std::thread m_returner;
};

}  // namespace quell::music::test
