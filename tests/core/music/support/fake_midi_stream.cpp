#include "fake_midi_stream.h"

namespace quell::music::test {

FakeMidiStream::~FakeMidiStream() { joinReturner(); }

int FakeMidiStream::record(const std::string& call) {
    m_calls.push_back(call);
    auto it = m_failures.find(call);
    return it == m_failures.end() ? kStreamOk : it->second;
}

int FakeMidiStream::open(MidiStreamClient* client) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (int rc = record("open")) return rc;
    if (m_open) return 4;
    m_open = true;
    m_running = false;
    m_client = client;
    return kStreamOk;
}

int FakeMidiStream::setTimeDivision(uint32_t division) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (int rc = record("division")) return rc;
    m_division = division;
    return kStreamOk;
}

int FakeMidiStream::prepareHeader(StreamHeader& header) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (int rc = record("prepare")) return rc;
    header.flags |= MHDR_PREPARED;
    return kStreamOk;
}

int FakeMidiStream::unprepareHeader(StreamHeader& header) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (int rc = record("unprepare")) return rc;
    header.flags &= ~MHDR_PREPARED;
    return kStreamOk;
}

int FakeMidiStream::out(StreamHeader& header) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (int rc = record("out")) return rc;
    if (!m_open) return kStreamInvalidHandle;
    if (!(header.flags & MHDR_PREPARED)) return kStreamUnprepared;
    header.flags |= MHDR_INQUEUE;
    header.flags &= ~MHDR_DONE;
    m_queue.push_back(&header);
    m_contents.emplace_back(header.data, header.data + header.bytesRecorded);
    return kStreamOk;
}

int FakeMidiStream::restart() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (int rc = record("restart")) return rc;
    m_running = true;
    return kStreamOk;
}

int FakeMidiStream::stop() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (int rc = record("stop")) return rc;
    m_running = false;
    return kStreamOk;
}

int FakeMidiStream::reset() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (int rc = record("reset")) return rc;
        m_running = false;
        if (m_returnMode == ReturnOnReset::Never || m_queue.empty()) return kStreamOk;
    }
    returnAllFromOwnThread();
    return kStreamOk;
}

void FakeMidiStream::returnAllFromOwnThread() {
    joinReturner();
    m_returner = std::thread([this] {
        while (returnOldest()) {
        }
    });
}

void FakeMidiStream::joinReturner() {
    if (m_returner.joinable() && m_returner.get_id() != std::this_thread::get_id()) m_returner.join();
}

int FakeMidiStream::close() {
    // A real service delivers every outstanding notification before the close
    // completes; the returning thread stands for that.
    joinReturner();
    MidiStreamClient* client;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (int rc = record("close")) return rc;
        if (!m_queue.empty()) return kStreamStillPlaying;
        m_open = false;
        client = m_client;
    }
    if (client) client->onStreamClosed();
    return kStreamOk;
}

bool FakeMidiStream::returnOldest() {
    StreamHeader* header;
    MidiStreamClient* client;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_queue.empty()) return false;
        header = m_queue.front();
        m_queue.pop_front();
        header->flags &= ~MHDR_INQUEUE;
        header->flags |= MHDR_DONE;
        client = m_client;
    }
    client->onStreamBufferDone(*header);
    return true;
}

void FakeMidiStream::deliverPosition(uint32_t event) {
    StreamHeader header;
    m_client->onStreamPosition(header, event);
}

std::vector<std::vector<uint8_t>> FakeMidiStream::queuedContents() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_contents;
}

void FakeMidiStream::failWith(const std::string& call, int code) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (code == 0) m_failures.erase(call);
    else m_failures[call] = code;
}

std::vector<std::string> FakeMidiStream::calls() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_calls;
}

int FakeMidiStream::count(const std::string& call) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    int n = 0;
    for (const std::string& c : m_calls) n += c == call;
    return n;
}

size_t FakeMidiStream::queued() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_queue.size();
}

bool FakeMidiStream::isOpen() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_open;
}

bool FakeMidiStream::running() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_running;
}

}  // namespace quell::music::test
