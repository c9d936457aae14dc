#include "core/music/smf_reader.h"

#include <cstring>
#include <new>

namespace quell::music {

namespace {

uint32_t readBig32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

uint16_t readBig16(const uint8_t* p) { return uint16_t((p[0] << 8) | p[1]); }

constexpr size_t kHeaderSize = 14;
constexpr size_t kChunkHeaderSize = 8;

}  // namespace

void SmfReader::unload() {
    m_image = nullptr;
    m_length = 0;
    m_format = 0;
    m_division = 0;
    m_tracks.clear();
}

bool SmfReader::Load(const uint8_t* image, size_t length) {
    if (m_image != nullptr || image == nullptr) return false;
    if (length < kHeaderSize || std::memcmp(image, "MThd", 4) != 0 || readBig32(image + 4) != 6) return false;

    std::vector<MidiTrack> tracks(readBig16(image + 10));
    size_t offset = kHeaderSize;
    for (MidiTrack& track : tracks) {
        // A chunk that runs past the image is refused rather than cut short:
        // a clipped track would end without its end-of-track event anyway.
        if (length - offset < kChunkHeaderSize || std::memcmp(image + offset, "MTrk", 4) != 0) return false;
        uint32_t chunkLength = readBig32(image + offset + 4);
        if (chunkLength > length - offset - kChunkHeaderSize) return false;
        track.start = offset + kChunkHeaderSize;
        track.length = chunkLength;
        offset = track.start + chunkLength;
    }

    m_image = image;
    m_length = length;
    m_format = readBig16(image + 8);
    m_division = readBig16(image + 12);
    m_tracks = std::move(tracks);
    for (MidiTrack& track : m_tracks) {
        if (!startTrack(track)) {
            unload();
            return false;
        }
    }
    return true;
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
        return false;
    }
    event.length = *length;
    // The remaining bytes are checked before allocating, so a corrupt length
    // can never ask for more memory than the track holds.
    size_t remaining = track.start + track.length - track.cursor;
    if (*length > remaining) {
        track.cursor = track.start + track.length;
        report(trackIndex, dataText);
        return false;
    }
    if (*length == 0 && !blockForEmpty) return true;
    event.data.reset(new (std::nothrow) uint8_t[*length == 0 ? 1 : *length]);
    if (!event.data) {
        report(trackIndex, "Out of memory during malloc call");
        return false;
    }
    std::memcpy(event.data.get(), m_image + track.cursor, *length);
    track.cursor += *length;
    return true;
}

bool SmfReader::ReadEvent(size_t trackIndex, TrackEvent& event) {
    if (trackIndex >= m_tracks.size()) return false;
    MidiTrack& track = m_tracks[trackIndex];
    event.releaseData();
    event.tick = track.nextTick;
    event.data1 = event.data2 = 0;
    event.length = 0;

    uint8_t byte = 0;
    if (!readByte(track, byte)) return false;

    if (byte < 0x80) {
        if (track.runningStatus == 0) {
            report(trackIndex, "Reference to missing running status.");
            return false;
        }
        event.status = track.runningStatus;
        event.data1 = byte;
        uint8_t kind = event.status & 0xF0;
        if (kind == 0xC0 || kind == 0xD0) {
            event.length = 2;
        } else {
            if (!readByte(track, event.data2)) return false;
            event.length = 3;
        }
    } else if (byte <= 0xEF) {
        event.status = byte;
        track.runningStatus = byte;
        if (!readByte(track, event.data1)) return false;
        uint8_t kind = byte & 0xF0;
        if (kind == 0xC0 || kind == 0xD0) {
            event.length = 2;
        } else {
            if (!readByte(track, event.data2)) return false;
            event.length = 3;
        }
    } else if (byte == 0xF0 || byte == 0xF7) {
        event.status = byte;
        if (!readBlock(trackIndex, event, "SysEx event truncated (length)", "SysEx event truncated", true))
            return false;
    } else if (byte == 0xFF) {
        event.status = byte;
        if (!readByte(track, event.data1)) return false;
        if (!readBlock(trackIndex, event, "Meta event truncated (length)", "Meta event truncated", false))
            return false;
        if (event.data1 == 0x2F) track.ended = true;
    } else {
        return false;
    }

    if (!track.ended) {
        std::optional<uint32_t> delta = ReadVarLen(track);
        if (!delta) {
            event.releaseData();
            return false;
        }
        track.nextTick += *delta;
    }
    return true;
}

}  // namespace quell::music
