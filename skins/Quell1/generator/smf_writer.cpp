#include "smf_writer.h"

#include <algorithm>

namespace quell1 {
namespace {

void appendBig(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

uint8_t byte(int value) { return static_cast<uint8_t>(value & 0x7F); }

}  // namespace

void appendVarLen(std::vector<uint8_t>& out, uint32_t value) {
    value &= 0x0FFFFFFFu;
    uint8_t groups[4];
    int count = 0;
    do {
        groups[count++] = value & 0x7F;
        value >>= 7;
    } while (value != 0);
    while (count > 1) out.push_back(groups[--count] | 0x80);
    out.push_back(groups[0]);
}

void SmfTrack::add(uint32_t tick, int order, std::vector<uint8_t> bytes) {
    m_events.push_back({tick, order, static_cast<uint32_t>(m_events.size()), std::move(bytes)});
}

void SmfTrack::addNote(uint32_t tick, uint32_t duration, int channel, int key, int velocity) {
    const uint8_t ch = static_cast<uint8_t>(channel & 0x0F);
    add(tick, 1, {static_cast<uint8_t>(0x90 | ch), byte(key), byte(velocity)});
    // A note-on with velocity 0 ends the note; with running status it keeps the file small.
    add(tick + duration, 0, {static_cast<uint8_t>(0x90 | ch), byte(key), 0});
}

void SmfTrack::addControl(uint32_t tick, int channel, int controller, int value) {
    add(tick, 1, {static_cast<uint8_t>(0xB0 | (channel & 0x0F)), byte(controller), byte(value)});
}

void SmfTrack::addProgram(uint32_t tick, int channel, int program) {
    add(tick, 1, {static_cast<uint8_t>(0xC0 | (channel & 0x0F)), byte(program)});
}

void SmfTrack::addTempo(uint32_t tick, uint32_t microsecondsPerQuarter) {
    add(tick, 1,
        {0xFF, 0x51, 0x03, static_cast<uint8_t>(microsecondsPerQuarter >> 16),
         static_cast<uint8_t>(microsecondsPerQuarter >> 8), static_cast<uint8_t>(microsecondsPerQuarter)});
}

void SmfTrack::addTimeSignature(uint32_t tick, int numerator, int denominatorPower) {
    add(tick, 1, {0xFF, 0x58, 0x04, byte(numerator), byte(denominatorPower), 24, 8});
}

void SmfTrack::addName(uint32_t tick, const std::string& name) {
    std::vector<uint8_t> bytes = {0xFF, 0x03};
    appendVarLen(bytes, static_cast<uint32_t>(name.size()));
    bytes.insert(bytes.end(), name.begin(), name.end());
    add(tick, 1, std::move(bytes));
}

std::vector<uint8_t> SmfTrack::encode() const {
    std::vector<Event> events = m_events;
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
        if (a.tick != b.tick) return a.tick < b.tick;
        if (a.order != b.order) return a.order < b.order;
        return a.sequence < b.sequence;
    });
    std::vector<uint8_t> out;
    uint32_t last = 0;
    uint8_t runningStatus = 0;
    for (const Event& e : events) {
        appendVarLen(out, e.tick - last);
        last = e.tick;
        const uint8_t status = e.bytes.front();
        if (status < 0xF0 && status == runningStatus) {
            out.insert(out.end(), e.bytes.begin() + 1, e.bytes.end());
        } else {
            out.insert(out.end(), e.bytes.begin(), e.bytes.end());
            // The file format lets meta and system events cancel running
            // status; writing the status again after them suits every reader.
            runningStatus = status < 0xF0 ? status : 0;
        }
    }
    appendVarLen(out, m_end > last ? m_end - last : 0);
    out.insert(out.end(), {0xFF, 0x2F, 0x00});
    return out;
}

std::vector<uint8_t> encodeSmf(uint16_t division, const std::vector<SmfTrack>& tracks) {
    std::vector<uint8_t> out = {'M', 'T', 'h', 'd'};
    appendBig(out, 6, 4);
    appendBig(out, 1, 2);
    appendBig(out, static_cast<uint32_t>(tracks.size()), 2);
    appendBig(out, division, 2);
    for (const SmfTrack& track : tracks) {
        const std::vector<uint8_t> body = track.encode();
        out.insert(out.end(), {'M', 'T', 'r', 'k'});
        appendBig(out, static_cast<uint32_t>(body.size()), 4);
        out.insert(out.end(), body.begin(), body.end());
    }
    return out;
}

}  // namespace quell1
