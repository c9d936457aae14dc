#pragma once
// Merges the tracks of a loaded file by tick and converts the events into
// stream event records, one buffer at a time.
#include <cstddef>
#include <cstdint>

#include "core/music/smf_reader.h"

namespace quell::music {

// Results of FillBuffer and ConvertEvent.
constexpr int kFillReady = 0;
constexpr int kFillReadFailed = -101;
constexpr int kFillAfterFailure = -102;
constexpr int kFillSongEnded = -103;
constexpr int kConvertBufferFull = -104;
constexpr int kConvertIgnoredMeta = -105;

constexpr uint32_t kStreamBufferSize = 1024;

// The fill state of one stream buffer; the block belongs to the player.
struct StreamBuffer {
    uint8_t* data = nullptr;
    uint32_t used = 0;
    uint32_t capacity = kStreamBufferSize;
    uint32_t startTick = 0;
    bool timeUp = false;

    void resetFill() {
        used = 0;
        capacity = kStreamBufferSize;
        startTick = 0;
        timeUp = false;
    }
};

enum FillFlags : unsigned {
    kAllEnded = 1,
    kReadFailed = 2,
    kHeld = 4,
};

class StreamFiller {
public:
    explicit StreamFiller(SmfReader& reader) : m_reader(reader) {}

    int FillBuffer(StreamBuffer& buffer, bool first);
    int ConvertEvent(TrackEvent& event, StreamBuffer& buffer);

    // Puts the merge back to the start of the song: tracks rewound, lastTick
    // 0, bytesPlayed 0, fill flags clear.
    bool rewind();

    // Player-owned settings the fill reads or resets.
    bool repeat = false;
    bool insertTempo = false;
    uint32_t bytesPlayed = 0;

    unsigned flags = 0;
    uint32_t lastTick = 0;
    uint32_t tempo = 0;
    uint32_t bufferTickSpan = 0;

private:
    int fillFromTracks(StreamBuffer& buffer);
    bool writeEvent(StreamBuffer& buffer, uint32_t tick, uint32_t word);
    void setTempo(uint32_t value);

    SmfReader& m_reader;
    TrackEvent m_pending;
};

}  // namespace quell::music
