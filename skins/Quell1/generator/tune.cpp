#include "tune.h"

#include <algorithm>
#include <array>

#include "smf_writer.h"

namespace quell1 {
namespace {

constexpr uint16_t kDivision = 480;  // ticks per quarter note
constexpr uint32_t kBar = 4 * kDivision;
constexpr uint32_t kTempo = 714286;  // 84 beats a minute

struct Chord {
    int root;   // the arpeggio's lowest note
    int third;  // semitones above the root
};

// C Am F G C Am F G | F G Em Am Dm G C C
constexpr std::array<Chord, 16> kChords = {{
    {48, 4},
    {45, 3},
    {53, 4},
    {55, 4},
    {48, 4},
    {45, 3},
    {53, 4},
    {55, 4},
    {53, 4},
    {55, 4},
    {52, 3},
    {45, 3},
    {50, 3},
    {55, 4},
    {48, 4},
    {48, 4},
}};

struct Note {
    int key;
    int eighths;  // length in eighth notes
};

// The melody, bar by bar; every bar adds up to eight eighths.
const std::vector<std::vector<Note>> kMelody = {
    {{76, 2}, {74, 1}, {72, 1}, {67, 4}},          {{69, 2}, {72, 2}, {76, 2}, {74, 2}},
    {{72, 3}, {69, 1}, {65, 2}, {69, 2}},          {{71, 2}, {74, 2}, {67, 4}},
    {{76, 2}, {79, 2}, {76, 1}, {74, 1}, {72, 2}}, {{76, 4}, {69, 2}, {72, 2}},
    {{74, 2}, {72, 1}, {69, 1}, {77, 2}, {76, 2}}, {{74, 4}, {71, 2}, {67, 2}},
    {{77, 2}, {76, 1}, {74, 1}, {72, 2}, {69, 2}}, {{71, 2}, {74, 2}, {79, 4}},
    {{79, 2}, {76, 2}, {71, 2}, {76, 2}},          {{69, 2}, {72, 2}, {76, 4}},
    {{77, 2}, {76, 1}, {74, 1}, {69, 2}, {74, 2}}, {{74, 2}, {71, 1}, {72, 1}, {74, 4}},
    {{76, 2}, {72, 2}, {67, 2}, {76, 2}},          {{72, 8}},
};

enum Channel { kLead = 0, kKeys = 1, kPad = 2, kBass = 3 };

void setUpChannel(SmfTrack& track, int channel, int program, int volume, int pan, int reverb) {
    track.addProgram(0, channel, program);
    track.addControl(0, channel, 7, volume);
    track.addControl(0, channel, 10, pan);
    track.addControl(0, channel, 91, reverb);
}

SmfTrack conductor() {
    SmfTrack track;
    track.addName(0, "Quell1 - Evening Lake");
    track.addTimeSignature(0, 4, 2);
    track.addTempo(0, kTempo);
    return track;
}

SmfTrack lead() {
    SmfTrack track;
    track.addName(0, "Vibraphone");
    setUpChannel(track, kLead, 11, 100, 64, 70);
    constexpr uint32_t kEighth = kDivision / 2;
    for (size_t bar = 0; bar < kMelody.size(); ++bar) {
        uint32_t tick = static_cast<uint32_t>(bar) * kBar;
        for (const Note& note : kMelody[bar]) {
            const uint32_t length = note.eighths * kEighth;
            // Slightly detached, and the first note of each bar a little stronger.
            const int velocity = tick % kBar == 0 ? 84 : 72;
            track.addNote(tick, length - 36, kLead, note.key, velocity);
            tick += length;
        }
    }
    return track;
}

SmfTrack keys() {
    SmfTrack track;
    track.addName(0, "Electric piano");
    setUpChannel(track, kKeys, 4, 78, 44, 80);
    constexpr uint32_t kEighth = kDivision / 2;
    for (size_t bar = 0; bar < kChords.size(); ++bar) {
        const Chord& c = kChords[bar];
        const int tones[4] = {c.root, c.root + 7, c.root + 12, c.root + 12 + c.third};
        static constexpr int kPattern[8] = {0, 1, 2, 3, 2, 1, 2, 1};
        for (int step = 0; step < 8; ++step) {
            const uint32_t tick = static_cast<uint32_t>(bar) * kBar + step * kEighth;
            const uint32_t end = static_cast<uint32_t>(kChords.size()) * kBar;
            const uint32_t length = std::min<uint32_t>(kEighth * 2 - 20, end - 10 - tick);
            track.addNote(tick, length, kKeys, tones[kPattern[step]], step == 0 ? 60 : 50);
        }
    }
    return track;
}

SmfTrack pad() {
    SmfTrack track;
    track.addName(0, "Warm pad");
    setUpChannel(track, kPad, 89, 64, 84, 90);
    for (size_t bar = 0; bar < kChords.size(); ++bar) {
        const Chord& c = kChords[bar];
        const uint32_t tick = static_cast<uint32_t>(bar) * kBar;
        for (int tone : {c.root, c.root + c.third, c.root + 7}) track.addNote(tick, kBar - 10, kPad, tone, 40);
    }
    return track;
}

SmfTrack bass() {
    SmfTrack track;
    track.addName(0, "Bass");
    setUpChannel(track, kBass, 32, 92, 64, 40);
    for (size_t bar = 0; bar < kChords.size(); ++bar) {
        const int root = kChords[bar].root - 12;
        const uint32_t tick = static_cast<uint32_t>(bar) * kBar;
        track.addNote(tick, 2 * kDivision - 40, kBass, root, 78);
        track.addNote(tick + 2 * kDivision, 2 * kDivision - 40, kBass, root + 7, 64);
    }
    return track;
}

}  // namespace

std::vector<uint8_t> composeTune() {
    std::vector<SmfTrack> tracks = {conductor(), lead(), keys(), pad(), bass()};
    const uint32_t end = static_cast<uint32_t>(kChords.size()) * kBar;
    for (SmfTrack& track : tracks) track.setEnd(end);
    return encodeSmf(kDivision, tracks);
}

}  // namespace quell1
