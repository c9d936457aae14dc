#include "core/music/stream_filler.h"

#include "core/music/stream_event.h"

namespace quell::music {

bool StreamFiller::rewind() {
    bool ok = m_reader.RewindTracks();
    lastTick = 0;
    bytesPlayed = 0;
    flags = 0;
    m_pending.releaseData();
    return ok;
}

int StreamFiller::FillBuffer(StreamBuffer& buffer, bool first) {
    buffer.used = 0;
    if (first) {
        flags = 0;
        m_pending.releaseData();
        bytesPlayed = 0;
    }

    if (flags & kAllEnded) {
        // A pass that ended without any event after tick 0 has no length: looping it
        // would hand the device empty or timeless buffers back to back forever.
        if (!repeat || lastTick == 0) return kFillSongEnded;
        m_reader.RewindTracks();
        lastTick = 0;
        bytesPlayed = 0;
        flags = 0;
    } else if (flags & kReadFailed) {
        return kFillAfterFailure;
    } else if (flags & kHeld) {
        flags &= ~unsigned(kHeld);
        if (ConvertEvent(m_pending, buffer) == kConvertBufferFull) {
            flags |= kHeld;
            return kFillReady;
        }
    }
    return fillFromTracks(buffer);
}

int StreamFiller::fillFromTracks(StreamBuffer& buffer) {
    std::vector<MidiTrack>& tracks = m_reader.tracks();
    for (;;) {
        size_t chosen = tracks.size();
        for (size_t i = 0; i < tracks.size(); ++i) {
            if (tracks[i].ended) continue;
            if (chosen == tracks.size() || tracks[i].nextTick < tracks[chosen].nextTick) chosen = i;
        }
        if (chosen == tracks.size()) {
            flags |= kAllEnded;
            return kFillReady;
        }
        if (!m_reader.ReadEvent(chosen, m_pending)) {
            m_pending.releaseData();
            flags |= kReadFailed;
            return kFillReadFailed;
        }
        if (m_pending.status == 0xFF && m_pending.data1 == 0x2F) {
            m_pending.releaseData();
            continue;
        }
        if (ConvertEvent(m_pending, buffer) == kConvertBufferFull) {
            flags |= kHeld;
            return kFillReady;
        }
    }
}

bool StreamFiller::writeEvent(StreamBuffer& buffer, uint32_t tick, uint32_t word) {
    if (buffer.capacity - buffer.used < kStreamEventSize) return false;
    writeStreamEvent(buffer.data + buffer.used, {tick - lastTick, 0, word});
    buffer.used += kStreamEventSize;
    lastTick = tick;
    return true;
}

void StreamFiller::setTempo(uint32_t value) {
    tempo = value;
    // A tempo of 0 is meaningless and would divide by zero; the span then
    // stays as the previous tempo left it.
    if (value != 0) bufferTickSpan = uint32_t(uint64_t(m_reader.division()) * 60000u / value);
}

int StreamFiller::ConvertEvent(TrackEvent& event, StreamBuffer& buffer) {
    if (buffer.used == 0) buffer.startTick = lastTick;
    if (lastTick - buffer.startTick > bufferTickSpan) {
        if (!buffer.timeUp) {
            buffer.timeUp = true;
        } else {
            buffer.timeUp = false;
            return kConvertBufferFull;
        }
    }

    if (insertTempo) {
        insertTempo = false;
        if (buffer.capacity - buffer.used < kStreamEventSize) return kConvertBufferFull;
        if (tempo != 0) {
            writeStreamEvent(buffer.data + buffer.used, {0, 0, (MEVT_TEMPO << 24) | tempo});
            buffer.used += kStreamEventSize;
        }
    }

    if (event.status >= 0x80 && event.status <= 0xEF) {
        uint32_t word =
            (MEVT_SHORTMSG << 24) | (uint32_t(event.data2) << 16) | (uint32_t(event.data1) << 8) | event.status;
        if ((event.status & 0xF0) == 0xB0 && event.data1 == 7) word |= MEVT_F_CALLBACK;
        return writeEvent(buffer, event.tick, word) ? kFillReady : kConvertBufferFull;
    }
    if (event.status == 0xF0 || event.status == 0xF7) {
        event.releaseData();
        return kFillReady;
    }
    // A tempo event too short to hold its three bytes is treated like any
    // other meta event rather than read past its data.
    if (event.data1 != 0x51 || event.length < 3 || !event.data) {
        event.releaseData();
        return kConvertIgnoredMeta;
    }
    uint32_t value = (uint32_t(event.data[0]) << 16) | (uint32_t(event.data[1]) << 8) | event.data[2];
    // The data stays with the event while it is held for the next buffer, so
    // the retry still knows the tempo.
    if (!writeEvent(buffer, event.tick, (MEVT_TEMPO << 24) | value)) return kConvertBufferFull;
    setTempo(value);
    event.releaseData();
    return kFillReady;
}

}  // namespace quell::music
