#include "core/music/midi_stream_player.h"

#include <chrono>

#include "core/music/stream_event.h"

namespace quell::music {

MidiStreamPlayer::MidiStreamPlayer(MidiStream& stream, TaskPoster poster)
    : m_stream(stream), m_poster(std::move(poster)) {
    m_reader.setDiagnosticHook([this](size_t track, const char* text) { ReportDiagnostic(track, text); });
    for (int i = 0; i < kBufferCount; ++i) {
        Slot& slot = m_slots[i];
        slot.header.data = slot.block.data();
        slot.header.bufferLength = kStreamBufferSize;
        slot.header.user = uintptr_t(i);
        slot.fill.data = slot.block.data();
    }
    m_channelVolume.fill(100);
}

MidiStreamPlayer::~MidiStreamPlayer() { Release(); }

bool MidiStreamPlayer::failed(int code) {
    if (code == kStreamOk) return false;
    ReportError(code);
    return true;
}

bool MidiStreamPlayer::Load(const uint8_t* image, size_t length) {
    std::unique_lock<std::mutex> lock(m_lock);
    if (m_released || !m_reader.Load(image, length)) return false;
    m_channelVolume.fill(100);
    return openDeviceLocked(lock);
}

bool MidiStreamPlayer::OpenDevice() {
    std::unique_lock<std::mutex> lock(m_lock);
    return openDeviceLocked(lock);
}

bool MidiStreamPlayer::openDeviceLocked(std::unique_lock<std::mutex>&) {
    if (!m_reader.loaded()) return false;
    if (!m_open) {
        if (failed(m_stream.open(this))) return false;
        m_open = true;
    }
    if (failed(m_stream.setTimeDivision(m_reader.division()))) return false;
    m_returnedCount = 0;
    m_currentBuffer = 0;

    // Buffers that could not be queued count as returned, so a later stop
    // does not wait for buffers the device never had.
    int queued = 0;
    bool ok = true;
    for (int i = 0; i < kBufferCount; ++i) {
        Slot& slot = m_slots[i];
        slot.fill.resetFill();
        int result = m_filler.FillBuffer(slot.fill, i == 0);
        if (result != kFillReady && result != kFillSongEnded) {
            ok = false;
            break;
        }
        slot.header.bytesRecorded = slot.fill.used;
        if (!slot.prepared) {
            if (failed(m_stream.prepareHeader(slot.header))) {
                ok = false;
                break;
            }
            slot.prepared = true;
        }
        if (failed(m_stream.out(slot.header))) break;
        ++queued;
        if (result == kFillSongEnded) break;
    }
    m_returnedCount = kBufferCount - queued;
    m_currentBuffer = 0;
    return ok;
}

bool MidiStreamPlayer::Play(bool repeat) {
    std::unique_lock<std::mutex> lock(m_lock);
    if (m_released) return false;
    if (m_playing && !stopLocked(lock, true)) return false;
    if (!m_filler.repeat) m_filler.insertTempo = true;
    m_state = PlayerState::Normal;
    if (!m_open || failed(m_stream.restart())) return false;
    m_playing = true;
    m_filler.repeat = repeat;
    return true;
}

bool MidiStreamPlayer::Stop(bool reopen) {
    std::unique_lock<std::mutex> lock(m_lock);
    return stopLocked(lock, reopen);
}

void MidiStreamPlayer::Release() {
    std::unique_lock<std::mutex> lock(m_lock);
    if (m_released) return;
    m_released = true;
    stopLocked(lock, false);
}

bool MidiStreamPlayer::stopLocked(std::unique_lock<std::mutex>& lock, bool reopen) {
    m_resetPending = false;
    bool ok = true;
    if (m_open && (m_playing || m_state != PlayerState::Drained)) {
        m_playing = false;
        if (m_state != PlayerState::Drained && m_state != PlayerState::EndReached) m_state = PlayerState::Stopping;
        // A failing stop or reset is reported but the device is still
        // released: leaving it open would let it write into freed buffers.
        if (failed(m_stream.stop())) ok = false;
        if (failed(m_stream.reset())) ok = false;
        waitForBuffers(lock);
    }
    m_playing = false;
    m_state = PlayerState::Normal;
    // The buffers' return may have finished a song meanwhile; this stop
    // supersedes the reset it asked for.
    m_resetPending = false;
    releaseBuffersAndClose(lock);
    if (reopen && !m_released) {
        if (!openDeviceLocked(lock)) return false;
        if (!m_filler.repeat) m_filler.rewind();
    }
    return ok;
}

void MidiStreamPlayer::waitForBuffers(std::unique_lock<std::mutex>& lock) {
    if (m_returnedCount >= kBufferCount) {
        m_state = PlayerState::Drained;
        return;
    }
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kStopWaitMilliseconds);
    while (m_state != PlayerState::Drained) {
        lock.unlock();
        auto remaining = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        bool signalled = remaining.count() > 0 && m_buffersReturned.wait(remaining);
        lock.lock();
        if (!signalled) break;
    }
    m_state = PlayerState::Drained;
}

void MidiStreamPlayer::releaseBuffersAndClose(std::unique_lock<std::mutex>& lock) {
    for (Slot& slot : m_slots) {
        if (!slot.prepared) continue;
        failed(m_stream.unprepareHeader(slot.header));
        slot.prepared = false;
    }
    if (!m_open) return;
    m_open = false;
    // The close delivers the stream's last notifications, which take the
    // lock themselves.
    lock.unlock();
    int result = m_stream.close();
    lock.lock();
    failed(result);
}

void MidiStreamPlayer::OnBufferDone(StreamHeader& header) {
    bool reset = false;
    {
        std::unique_lock<std::mutex> lock(m_lock);
        int index = -1;
        for (int i = 0; i < kBufferCount; ++i)
            if (&m_slots[i].header == &header) index = i;
        if (index < 0) return;

        switch (m_state) {
        case PlayerState::Drained: return;
        case PlayerState::EndReached:
            if (++m_returnedCount >= kBufferCount) {
                m_state = PlayerState::Drained;
                m_resetPending = true;
                reset = true;
                m_buffersReturned.set();
            }
            break;
        case PlayerState::Stopping:
            if (++m_returnedCount >= kBufferCount) {
                m_state = PlayerState::Drained;
                m_buffersReturned.set();
            }
            return;
        case PlayerState::Normal: {
            m_filler.bytesPlayed += header.bytesRecorded;
            ++m_returnedCount;
            if (!m_playing) return;
            Slot& slot = m_slots[index];
            slot.fill.resetFill();
            int result = m_filler.FillBuffer(slot.fill, false);
            if (result == kFillSongEnded) {
                m_state = PlayerState::EndReached;
                // The other buffer may already be back (a failed queueing):
                // then the song is drained now.
                if (m_returnedCount >= kBufferCount) {
                    m_state = PlayerState::Drained;
                    m_resetPending = true;
                    reset = true;
                    m_buffersReturned.set();
                }
                break;
            }
            if (result != kFillReady) return;
            slot.header.bytesRecorded = slot.fill.used;
            if (failed(m_stream.out(slot.header))) return;
            m_currentBuffer = 1 - index;
            --m_returnedCount;
            return;
        }
        }
    }
    if (reset) handOverReset();
}

void MidiStreamPlayer::handOverReset() {
    if (!m_poster) return;  // the owner calls RunPendingReset itself
    std::weak_ptr<int> alive = m_alive;
    m_poster([this, alive] {
        if (alive.lock()) RunPendingReset();
    });
}

void MidiStreamPlayer::RunPendingReset() {
    std::unique_lock<std::mutex> lock(m_lock);
    if (!m_resetPending || m_released) return;
    stopLocked(lock, true);
}

void MidiStreamPlayer::OnVolumeEvent(uint32_t event) {
    std::lock_guard<std::mutex> lock(m_lock);
    int channel = int(event & 0x0F);
    m_channelVolume[channel] = int(((event >> 16) & 0xFF) * 100 / 127);
}

PlayerState MidiStreamPlayer::state() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_state;
}
bool MidiStreamPlayer::playing() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_playing;
}
bool MidiStreamPlayer::repeat() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_filler.repeat;
}
bool MidiStreamPlayer::deviceOpen() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_open;
}
int MidiStreamPlayer::returnedCount() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_returnedCount;
}
int MidiStreamPlayer::currentBuffer() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_currentBuffer;
}
uint32_t MidiStreamPlayer::bytesPlayed() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_filler.bytesPlayed;
}
int MidiStreamPlayer::channelVolume(int channel) const {
    std::lock_guard<std::mutex> lock(m_lock);
    return (channel >= 0 && channel < 16) ? m_channelVolume[channel] : 0;
}
bool MidiStreamPlayer::resetPending() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_resetPending;
}

}  // namespace quell::music
