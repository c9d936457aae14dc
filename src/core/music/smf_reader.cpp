#include "core/music/smf_reader.h"

#include <cstring>
#include <iterator>
#include <new>

#include "core/bytes.h"
#include "core/error_names.h"

namespace quell::music {

namespace {

using bytes::readBe16;
using bytes::readBe32;

constexpr size_t kHeaderSize = 14;
constexpr size_t kHeaderDataSize = 6;
constexpr size_t kChunkHeaderSize = 8;

// Fields of the header chunk.
constexpr size_t kFormatOffset = 8;
constexpr size_t kTrackCountOffset = 10;
constexpr size_t kDivisionOffset = 12;

}  // namespace

const char* SmfErrorName(SmfError error) {
    static constexpr const char* kNames[] = {
        "none",
        "already-loaded",
        "not-a-midi-file",
        "bad-track-chunk",
        "track-past-end",
        "truncated-event",
        "missing-running-status",
        "unknown-status",
        "out-of-memory",
        "no-such-track",
        "track-ended",
    };
    static_assert(std::size(kNames) == static_cast<size_t>(SmfError::TrackEnded) + 1, "a name for every error");
    return errorNameFromTable(error, kNames);
}

void SmfReader::unload() {
    m_error = SmfError::None;
    m_image = nullptr;
    m_length = 0;
    m_format = 0;
    m_division = 0;
    m_tracks.clear();
}

bool SmfReader::Load(const uint8_t* image, size_t length) {
    if (m_image != nullptr) return fail(SmfError::AlreadyLoaded);
    if (image == nullptr) return fail(SmfError::NotMidiFile);
    const bytes::Bytes file(image, length);
    if (length < kHeaderSize || std::memcmp(image, "MThd", 4) != 0 || readBe32(file, 4) != kHeaderDataSize)
        return fail(SmfError::NotMidiFile);

    std::vector<MidiTrack> tracks;
    try {
        tracks.resize(readBe16(file, kTrackCountOffset));
    } catch (const std::bad_alloc&) {
        return fail(SmfError::OutOfMemory);
    }
    size_t offset = kHeaderSize;
    for (MidiTrack& track : tracks) {
        // A chunk that runs past the image is refused rather than cut short:
        // a clipped track would end without its end-of-track event anyway.
        if (length - offset < kChunkHeaderSize || std::memcmp(image + offset, "MTrk", 4) != 0)
            return fail(SmfError::BadTrackChunk);
        uint32_t chunkLength = readBe32(file, offset + 4);
        if (chunkLength > length - offset - kChunkHeaderSize) return fail(SmfError::TrackPastEnd);
        track.start = offset + kChunkHeaderSize;
        track.length = chunkLength;
        offset = track.start + chunkLength;
    }

    m_image = image;
    m_length = length;
    m_format = readBe16(file, kFormatOffset);
    m_division = readBe16(file, kDivisionOffset);
    m_tracks = std::move(tracks);
    for (MidiTrack& track : m_tracks) {
        if (!startTrack(track)) {
            unload();
            return fail(SmfError::TruncatedEvent);
        }
    }
    m_error = SmfError::None;
    return true;
}

bool SmfReader::fail(SmfError error) {
    m_error = error;
    return false;
}

bool SmfReader::startTrack(MidiTrack& track) {
    track.cursor = track.start;
    track.runningStatus = 0;
    track.nextTick = 0;
    track.ended = track.length == 0;
    if (track.ended) return true;
    std::optional<uint32_t> delta = ReadVarLen(track);
    if (!delta) return false;
    track.nextTick = *delta;
    return true;
}

bool SmfReader::RewindTracks() {
    if (m_image == nullptr) return false;
    bool ok = true;
    for (MidiTrack& track : m_tracks) ok = startTrack(track) && ok;
    return ok;
}

bool SmfReader::readByte(MidiTrack& track, uint8_t& out) {
    if (track.ended || track.cursor >= track.start + track.length) return false;
    out = m_image[track.cursor++];
    return true;
}

std::optional<uint32_t> SmfReader::ReadVarLen(MidiTrack& track) {
    uint32_t value = 0;
    uint8_t byte = 0;
    do {
        if (!readByte(track, byte)) return std::nullopt;
        value = (value << 7) | (byte & 0x7F);
    } while (byte & 0x80);
    return value;
}

void SmfReader::report(size_t track, const char* text) {
    if (m_diagnostic) m_diagnostic(track, text);
}

bool SmfReader::readBlock(size_t trackIndex, TrackEvent& event, const char* lengthText, const char* dataText,
                          bool blockForEmpty) {
    MidiTrack& track = m_tracks[trackIndex];
    std::optional<uint32_t> length = ReadVarLen(track);
    if (!length) {
        report(trackIndex, lengthText);
        return fail(SmfError::TruncatedEvent);
    }
    event.length = *length;
    // The remaining bytes are checked before allocating, so a corrupt length
    // can never ask for more memory than the track holds.
    size_t remaining = track.start + track.length - track.cursor;
    if (*length > remaining) {
        track.cursor = track.start + track.length;
        report(trackIndex, dataText);
        return fail(SmfError::TruncatedEvent);
    }
    if (*length == 0 && !blockForEmpty) return true;
    event.data.reset(new (std::nothrow) uint8_t[*length == 0 ? 1 : *length]);
    if (!event.data) {
        report(trackIndex, "Out of memory during malloc call");
        return fail(SmfError::OutOfMemory);
    }
    std::memcpy(event.data.get(), m_image + track.cursor, *length);
    track.cursor += *length;
    return true;
}

bool SmfReader::ReadEvent(size_t trackIndex, TrackEvent& event) {
    if (trackIndex >= m_tracks.size()) return fail(SmfError::NoSuchTrack);
    MidiTrack& track = m_tracks[trackIndex];
    event.releaseData();
    event.tick = track.nextTick;
    event.data1 = event.data2 = 0;
    event.length = 0;

    uint8_t byte = 0;
    if (!readByte(track, byte)) return fail(track.ended ? SmfError::TrackEnded : SmfError::TruncatedEvent);

    if (byte < 0x80) {
        if (track.runningStatus == 0) {
            report(trackIndex, "Reference to missing running status.");
            return fail(SmfError::MissingRunningStatus);
        }
        event.status = track.runningStatus;
        event.data1 = byte;
        uint8_t kind = event.status & 0xF0;
        if (kind == 0xC0 || kind == 0xD0) {
            event.length = 2;
        } else {
            if (!readByte(track, event.data2)) return fail(SmfError::TruncatedEvent);
            event.length = 3;
        }
    } else if (byte <= 0xEF) {
        event.status = byte;
        track.runningStatus = byte;
        if (!readByte(track, event.data1)) return fail(SmfError::TruncatedEvent);
        uint8_t kind = byte & 0xF0;
        if (kind == 0xC0 || kind == 0xD0) {
            event.length = 2;
        } else {
            if (!readByte(track, event.data2)) return fail(SmfError::TruncatedEvent);
            event.length = 3;
        }
    } else if (byte == 0xF0 || byte == 0xF7) {
        event.status = byte;
        if (!readBlock(trackIndex, event, "SysEx event truncated (length)", "SysEx event truncated", true))
            return false;  // readBlock has recorded why
    } else if (byte == 0xFF) {
        event.status = byte;
        if (!readByte(track, event.data1)) return fail(SmfError::TruncatedEvent);
        if (!readBlock(trackIndex, event, "Meta event truncated (length)", "Meta event truncated", false))
            return false;  // readBlock has recorded why
        if (event.data1 == 0x2F) track.ended = true;
    } else {
        return fail(SmfError::UnknownStatus);
    }

    if (!track.ended) {
        std::optional<uint32_t> delta = ReadVarLen(track);
        if (!delta) {
            event.releaseData();
            return fail(SmfError::TruncatedEvent);
        }
        track.nextTick += *delta;
    }
    return true;
}

}  // namespace quell::music
