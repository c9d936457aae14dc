#include "platform/midi/stream_engine.h"

#include <algorithm>

#include "core/music/stream_event.h"

namespace quell::platform {

using music::StreamHeader;

bool StreamEngine::setTimeDivision(uint32_t division) {
    division &= 0xFFFF;
    bool smpte = division & 0x8000;
    uint64_t denominator = 0;
    uint64_t smpteNumerator = 0;
    if (smpte) {
        int framesPerSecond = -int(int8_t(division >> 8));
        uint32_t ticksPerFrame = division & 0xFF;
        if (ticksPerFrame == 0) return false;
        switch (framesPerSecond) {
        case 24:
        case 25:
        case 30:
            smpteNumerator = 1000000;
            denominator = uint64_t(framesPerSecond) * ticksPerFrame;
            break;
        case 29:  // 30 drop-frame: 29.97 frames a second
            smpteNumerator = 100000000;
            denominator = 2997ull * ticksPerFrame;
            break;
        default: return false;
        }
    } else {
        if (division == 0) return false;
        denominator = division;
    }
    // Keep the position in time when the scale changes.
    m_timeNumerator = m_timeNumerator / m_tickDenominator * denominator;
    m_smpte = smpte;
    m_smpteTickNumerator = smpteNumerator;
    m_tickDenominator = denominator;
    return true;
}

void StreamEngine::enqueue(StreamHeader* header, int64_t now) {
    // A stream that ran dry does not rush the next buffer's events to catch up
    // with the time it stood empty: time resumes from now.
    if (m_queue.empty() && m_running) {
        uint64_t streamTime = uint64_t(std::max<int64_t>(0, streamNow(now)));
        if (m_timeNumerator / m_tickDenominator < streamTime) m_timeNumerator = streamTime * m_tickDenominator;
    }
    m_queue.push_back(header);
}

void StreamEngine::restart(int64_t now) {
    if (m_running) return;
    m_origin = now - m_pausedAt;
    m_running = true;
}

void StreamEngine::stop() {
    m_running = false;
    m_pausedAt = 0;
    m_timeNumerator = 0;
    m_tempo = kDefaultTempo;
    returnAll();
    if (m_synth) m_synth->silence();
}

void StreamEngine::reset() {
    returnAll();
    if (m_synth) m_synth->silence();
}

void StreamEngine::returnAll() {
    while (!m_queue.empty()) finishHead();
}

void StreamEngine::finishHead() {
    StreamHeader* header = m_queue.front();
    m_queue.pop_front();
    m_cursor = 0;
    header->flags = (header->flags & ~music::MHDR_INQUEUE) | music::MHDR_DONE;
    m_notifications.push_back({StreamNotification::BufferDone, header, 0});
}

std::optional<int64_t> StreamEngine::advance(int64_t now) {
    if (!m_running) return std::nullopt;
    while (!m_queue.empty()) {
        StreamHeader* header = m_queue.front();
        uint32_t limit = std::min(header->bytesRecorded, header->bufferLength);
        if (limit < music::kStreamEventSize || m_cursor > limit - music::kStreamEventSize) {
            finishHead();
            continue;
        }
        music::StreamEvent e = music::readStreamEvent(header->data + m_cursor);
        uint64_t perTick = m_smpte ? m_smpteTickNumerator : m_tempo;
        uint64_t numerator = m_timeNumerator + uint64_t(e.deltaTime) * perTick;
        int64_t due = m_origin + int64_t(numerator / m_tickDenominator);
        if (due > now) return due;
        m_timeNumerator = numerator;
        uint64_t size = music::kStreamEventSize;
        if (e.event & music::MEVT_F_LONG) {
            // Long events carry parameters padded to whole words; none of
            // them is played here.
            size += (uint64_t(music::eventParameter(e.event)) + 3) & ~uint64_t(3);
        } else {
            if (m_probe) m_probe(due, now);
            dispatch(header, e.event);
        }
        m_cursor = uint32_t(std::min<uint64_t>(m_cursor + size, limit));
    }
    return std::nullopt;
}

void StreamEngine::dispatch(StreamHeader* header, uint32_t event) {
    switch (music::eventType(event)) {
    case music::MEVT_SHORTMSG: {
        uint8_t status = uint8_t(event);
        if (status >= 0x80 && status < 0xF0 && m_synth)
            m_synth->shortMessage(status, uint8_t(event >> 8) & 0x7F, uint8_t(event >> 16) & 0x7F);
        break;
    }
    case music::MEVT_TEMPO: {
        uint32_t tempo = music::eventParameter(event);
        if (!m_smpte && tempo != 0) m_tempo = tempo;
        break;
    }
    default: break;
    }
    if (event & music::MEVT_F_CALLBACK) {
        header->offset = m_cursor;
        m_notifications.push_back({StreamNotification::Position, header, event});
    }
}

std::vector<StreamNotification> StreamEngine::takeNotifications() {
    std::vector<StreamNotification> out;
    out.swap(m_notifications);
    return out;
}

}  // namespace quell::platform
