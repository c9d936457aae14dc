#include "smf_builder.h"

namespace quell::music::test {

namespace {
void putBig32(Bytes& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}
void putBig16(Bytes& out, uint16_t v) {
    out.push_back(uint8_t(v >> 8));
    out.push_back(uint8_t(v));
}
}  // namespace

Bytes varLen(uint32_t value) {
    Bytes groups{uint8_t(value & 0x7F)};
    while (value >>= 7) groups.insert(groups.begin(), uint8_t(0x80 | (value & 0x7F)));
    return groups;
}

TrackBuilder& TrackBuilder::raw(std::initializer_list<uint8_t> bytes) {
    m_bytes.insert(m_bytes.end(), bytes);
    return *this;
}

TrackBuilder& TrackBuilder::raw(const Bytes& bytes) {
    m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
    return *this;
}

TrackBuilder& TrackBuilder::delta(uint32_t ticks) { return raw(varLen(ticks)); }

TrackBuilder& TrackBuilder::event(uint32_t ticks, std::initializer_list<uint8_t> bytes) {
    delta(ticks);
    return raw(bytes);
}

TrackBuilder& TrackBuilder::meta(uint32_t ticks, uint8_t type, const Bytes& data) {
    delta(ticks);
    raw({0xFF, type});
    raw(varLen(uint32_t(data.size())));
    return raw(data);
}

TrackBuilder& TrackBuilder::tempo(uint32_t ticks, uint32_t micros) {
    return meta(ticks, 0x51, {uint8_t(micros >> 16), uint8_t(micros >> 8), uint8_t(micros)});
}

TrackBuilder& TrackBuilder::sysex(uint32_t ticks, const Bytes& data) {
    delta(ticks);
    raw({0xF0});
    raw(varLen(uint32_t(data.size())));
    return raw(data);
}

TrackBuilder& TrackBuilder::endOfTrack(uint32_t ticks) { return meta(ticks, 0x2F, {}); }

Bytes chunk(const std::string& id, const Bytes& body) {
    Bytes out(id.begin(), id.end());
    putBig32(out, uint32_t(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes header(uint16_t format, uint16_t trackCount, uint16_t division, uint32_t headerLength) {
    Bytes out{'M', 'T', 'h', 'd'};
    putBig32(out, headerLength);
    putBig16(out, format);
    putBig16(out, trackCount);
    putBig16(out, division);
    return out;
}

Bytes smfFile(const std::vector<TrackBuilder>& tracks, uint16_t division, uint16_t format) {
    Bytes out = header(format, uint16_t(tracks.size()), division);
    for (const TrackBuilder& t : tracks) {
        Bytes c = chunk("MTrk", t.bytes());
        out.insert(out.end(), c.begin(), c.end());
    }
    return out;
}

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

}  // namespace quell::music::test
