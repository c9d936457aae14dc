#pragma once
// Plays one loaded Standard MIDI File on a MidiStream with two alternating
// buffers, refilled from the stream's notification thread as they come back.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "core/music/auto_reset_event.h"
#include "core/music/midi_stream.h"
#include "core/music/smf_reader.h"
#include "core/music/stream_filler.h"

namespace quell::music {

enum class PlayerState { Normal = 0, Stopping = 100, Drained = 200, EndReached = 300 };

class MidiStreamPlayer : public MidiStreamClient {
public:
    // Runs a task later on the thread that owns the player (the user-interface
    // thread). The end-of-song reset is handed over this way so it never runs
    // on the notification thread beside a stop of the owner. Without a poster
    // the reset runs on the notification thread.
    using TaskPoster = std::function<void(std::function<void()>)>;

    static constexpr int kBufferCount = 2;
    static constexpr int kStopWaitMilliseconds = 2000;

    explicit MidiStreamPlayer(MidiStream& stream, TaskPoster poster = {});
    // Derived classes must call Release() in their own destructor so no
    // notification reaches a half-destroyed object.
    ~MidiStreamPlayer() override;

    MidiStreamPlayer(const MidiStreamPlayer&) = delete;
    MidiStreamPlayer& operator=(const MidiStreamPlayer&) = delete;

    // The image must stay alive and unchanged as long as the player.
    bool Load(const uint8_t* image, size_t length);
    bool OpenDevice();
    bool Play(bool repeat);
    bool Stop(bool reopen);
    // Stops without reopening and closes the device; safe to call twice.
    void Release();
    // Runs the end-of-song reset (stop, reopen with the song rewound) that a
    // song without repeat asked for, unless a stop has happened since. The
    // task handed to the poster calls this.
    void RunPendingReset();

    // Slots a variant may replace.
    virtual void ReportError(int /*code*/) {}
    virtual void ReportDiagnostic(size_t /*track*/, const char* /*text*/) {}
    virtual void OnDeviceOpened() {}
    virtual void OnDeviceClosed() {}
    virtual void OnBufferDone(StreamHeader& header);
    virtual void OnVolumeEvent(uint32_t event);

    PlayerState state() const;
    bool playing() const;
    bool repeat() const;
    bool deviceOpen() const;
    int returnedCount() const;
    int currentBuffer() const;
    uint32_t bytesPlayed() const;
    int channelVolume(int channel) const;
    bool resetPending() const;
    const StreamHeader& header(int index) const { return m_slots[index].header; }

private:
    struct Slot {
        StreamHeader header;
        StreamBuffer fill;
        bool prepared = false;
        std::array<uint8_t, kStreamBufferSize> block{};
    };

    void onStreamOpened() override { OnDeviceOpened(); }
    void onStreamClosed() override { OnDeviceClosed(); }
    void onStreamBufferDone(StreamHeader& header) override { OnBufferDone(header); }
    void onStreamPosition(StreamHeader&, uint32_t event) override { OnVolumeEvent(event); }

    bool openDeviceLocked(std::unique_lock<std::mutex>& lock);
    bool stopLocked(std::unique_lock<std::mutex>& lock, bool reopen);
    void waitForBuffers(std::unique_lock<std::mutex>& lock);
    void releaseBuffersAndClose(std::unique_lock<std::mutex>& lock);
    bool failed(int code);
    void handOverReset();

    MidiStream& m_stream;
    TaskPoster m_poster;
    mutable std::mutex m_lock;
    SmfReader m_reader;
    StreamFiller m_filler{m_reader};
    bool m_open = false;
    bool m_playing = false;
    bool m_resetPending = false;
    bool m_released = false;
    PlayerState m_state = PlayerState::Normal;
    int m_returnedCount = 0;
    int m_currentBuffer = 0;
    std::array<Slot, kBufferCount> m_slots;
    std::array<int, 16> m_channelVolume{};
    AutoResetEvent m_buffersReturned;
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};

}  // namespace quell::music
