#pragma once
// Reads a Standard MIDI File in place from a memory image: one cursor per
// track, one event at a time. The image belongs to the caller and must outlive
// the reader; nothing is copied except the data of system-exclusive and meta
// events, which each event owns for as long as it is being handled.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace quell::music {

struct MidiTrack {
    bool ended = false;
    uint32_t length = 0;
    size_t start = 0;   // offset of the first event byte in the image
    size_t cursor = 0;  // offset of the next byte to read
    uint32_t nextTick = 0;
    uint8_t runningStatus = 0;
};

struct TrackEvent {
    uint32_t tick = 0;
    uint8_t status = 0;
    uint8_t data1 = 0;  // first data byte, or the meta type
    uint8_t data2 = 0;
    uint32_t length = 0;  // 2 or 3 for channel messages, else the data length
    std::unique_ptr<uint8_t[]> data;

    void releaseData() { data.reset(); }
};

// Why a load or an event read failed.
enum class SmfError {
    None,
    AlreadyLoaded,         // Load while a file is loaded
    NotMidiFile,           // no "MThd" header chunk of length 6
    BadTrackChunk,         // a track chunk is missing or not "MTrk"
    TrackPastEnd,          // a track chunk runs past the end of the image
    TruncatedEvent,        // an event or delta time runs past the end of its track
    MissingRunningStatus,  // a data byte with no running status to use
    UnknownStatus,         // a status byte no event starts with
    OutOfMemory,           // the track table or the data of an event could not be allocated
    NoSuchTrack,           // ReadEvent for a track index the file does not have
    TrackEnded,            // ReadEvent on a track past its end-of-track event
};

// The short name of an error as messages print it ("truncated-event").
const char* SmfErrorName(SmfError error);

// Receives the reasons some event reads fail (track index, text).
using DiagnosticHook = std::function<void(size_t track, const char* text)>;

class SmfReader {
public:
    // Fails when a file is already loaded, the header is not "MThd" with
    // length 6, a track chunk is not "MTrk" or does not lie wholly inside the
    // image, or a track's first delta time cannot be read.
    bool Load(const uint8_t* image, size_t length);
    bool loaded() const { return m_image != nullptr; }
    // Forgets the file so another may be loaded.
    void unload();
    // Why the last Load or ReadEvent that failed did; None after a successful
    // Load or an unload. A successful ReadEvent leaves it as it was.
    SmfError lastError() const { return m_error; }

    std::optional<uint32_t> ReadVarLen(MidiTrack& track);
    bool ReadEvent(size_t trackIndex, TrackEvent& event);
    bool RewindTracks();

    uint16_t division() const { return m_division; }
    uint16_t format() const { return m_format; }
    std::vector<MidiTrack>& tracks() { return m_tracks; }
    const std::vector<MidiTrack>& tracks() const { return m_tracks; }

    void setDiagnosticHook(DiagnosticHook hook) { m_diagnostic = std::move(hook); }

private:
    bool startTrack(MidiTrack& track);
    bool readByte(MidiTrack& track, uint8_t& out);
    bool readBlock(size_t trackIndex, TrackEvent& event, const char* lengthText, const char* dataText,
                   bool blockForEmpty);
    void report(size_t track, const char* text);
    bool fail(SmfError error);

    const uint8_t* m_image = nullptr;
    size_t m_length = 0;
    uint16_t m_format = 0;
    uint16_t m_division = 0;
    std::vector<MidiTrack> m_tracks;
    DiagnosticHook m_diagnostic;
    SmfError m_error = SmfError::None;
};

}  // namespace quell::music
