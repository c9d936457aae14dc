#pragma once
// The MIDI stream service the player drives, shaped like the platform's
// stream calls: open, time division, prepare/unprepare, out, restart, stop,
// reset, close. Every call gives 0 on success or a non-zero error code.
// Notifications arrive on the service's own thread, never inside a call.
#include <cstdint>

namespace quell::music {

// Error codes in the platform's numbering.
constexpr int kStreamOk = 0;
constexpr int kStreamError = 1;
constexpr int kStreamInvalidHandle = 5;
constexpr int kStreamNoDriver = 6;
constexpr int kStreamInvalidParam = 11;
constexpr int kStreamUnprepared = 64;
constexpr int kStreamStillPlaying = 65;

// Header flags.
constexpr uint32_t MHDR_DONE = 0x1;
constexpr uint32_t MHDR_PREPARED = 0x2;
constexpr uint32_t MHDR_INQUEUE = 0x4;

// The platform's MIDIHDR, reduced to what the stream uses.
struct StreamHeader {
    uint8_t* data = nullptr;
    uint32_t bufferLength = 0;
    uint32_t bytesRecorded = 0;
    uint32_t flags = 0;
    uint32_t offset = 0;  // offset of the event of the last position notification
    uintptr_t user = 0;
};

// The four notifications of an open stream.
class MidiStreamClient {
public:
    virtual ~MidiStreamClient() = default;
    virtual void onStreamOpened() = 0;                                        // MOM_OPEN
    virtual void onStreamClosed() = 0;                                        // MOM_CLOSE
    virtual void onStreamBufferDone(StreamHeader& header) = 0;                // MOM_DONE
    virtual void onStreamPosition(StreamHeader& header, uint32_t event) = 0;  // MOM_POSITIONCB
};

class MidiStream {
public:
    virtual ~MidiStream() = default;
    // Opens the device paused; the client receives the notifications until
    // the stream is closed.
    virtual int open(MidiStreamClient* client) = 0;
    virtual int setTimeDivision(uint32_t division) = 0;
    virtual int prepareHeader(StreamHeader& header) = 0;
    virtual int unprepareHeader(StreamHeader& header) = 0;
    virtual int out(StreamHeader& header) = 0;
    virtual int restart() = 0;
    virtual int stop() = 0;
    virtual int reset() = 0;
    virtual int close() = 0;
};

}  // namespace quell::music
