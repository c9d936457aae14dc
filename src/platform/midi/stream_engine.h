#pragma once
// The scheduling core of the MIDI stream service, without threads: a queue
// of stream buffers played in order, ticks turned into time from the time
// division and the tempo events, short messages sent to a synthesizer.
// Every call takes the current clock time; the owner serialises the calls.
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "core/music/midi_stream.h"
#include "platform/midi/synthesizer.h"

namespace quell::platform {

struct StreamNotification {
    enum Kind { BufferDone, Position };
    Kind kind;
    music::StreamHeader* header;
    uint32_t event;
};

class StreamEngine {
public:
    static constexpr uint32_t kDefaultTempo = 500000;  // microseconds per quarter note

    void setSynthesizer(Synthesizer* synth) { m_synth = synth; }
    // Reports each event's ideal and actual clock time as it is played.
    void setDispatchProbe(std::function<void(int64_t ideal, int64_t actual)> probe) { m_probe = std::move(probe); }

    // Ticks per quarter note, or SMPTE frames (negative high byte) and ticks
    // per frame. Gives false for a division that has no time.
    bool setTimeDivision(uint32_t division);
    void enqueue(music::StreamHeader* header, int64_t now);
    void restart(int64_t now);
    // Pauses, rewinds the position, hands back every buffer, silences.
    void stop();
    // Hands back every buffer and silences; playback state is kept.
    void reset();

    // Plays every event due by now; gives the clock time of the next event,
    // or nothing while paused or without buffers.
    std::optional<int64_t> advance(int64_t now);

    std::vector<StreamNotification> takeNotifications();
    // The notifications so far, for a caller that keeps the storage: clearing
    // them leaves its capacity for the next ones.
    const std::vector<StreamNotification>& notifications() const { return m_notifications; }
    void clearNotifications() { m_notifications.clear(); }
    bool running() const { return m_running; }
    size_t queued() const { return m_queue.size(); }
    uint32_t tempo() const { return m_tempo; }

private:
    void returnAll();
    void finishHead();
    void dispatch(music::StreamHeader* header, uint32_t event);
    int64_t streamNow(int64_t now) const { return m_running ? now - m_origin : m_pausedAt; }

    Synthesizer* m_synth = nullptr;
    std::function<void(int64_t, int64_t)> m_probe;
    std::deque<music::StreamHeader*> m_queue;
    uint32_t m_cursor = 0;  // byte offset in the head buffer
    std::vector<StreamNotification> m_notifications;

    bool m_smpte = false;
    uint64_t m_tickDenominator = 96;  // time in microseconds = m_timeNumerator / m_tickDenominator
    uint64_t m_smpteTickNumerator = 0;
    uint32_t m_tempo = kDefaultTempo;
    uint64_t m_timeNumerator = 0;  // stream time of the last event played, scaled

    bool m_running = false;
    int64_t m_origin = 0;    // clock time of stream time 0 while running
    int64_t m_pausedAt = 0;  // stream time while paused
};

}  // namespace quell::platform
