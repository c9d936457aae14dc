// Checks the reader and filler against the external MIDI files: every file
// that plays must give the channel events midicsv lists, at the same absolute
// ticks, merged by tick with file order breaking ties; the broken ones must
// fail the way the reader is meant to fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/music/smf_reader.h"
#include "core/music/stream_event.h"
#include "core/music/stream_filler.h"
#include "core/os/file_system.h"
#include "support/stream_listing.h"

namespace quell::music {
namespace {

namespace fs = std::filesystem;

struct ChannelEvent {
    uint32_t tick;
    uint32_t message;  // status | data1 << 8 | data2 << 16
    bool operator==(const ChannelEvent&) const = default;
};

void PrintTo(const ChannelEvent& e, std::ostream* os) {
    char text[32];
    std::snprintf(text, sizeof text, "%u:%06x", e.tick, e.message);
    *os << text;
}

std::string runTool(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return out;
    char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) out.append(chunk, got);
    ::pclose(pipe);
    return out;
}

std::string shellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// midicsv's channel records, each with its track, in listing order.
std::vector<std::pair<int, ChannelEvent>> midicsvChannelEvents(const std::string& path) {
    static const std::map<std::string, std::pair<uint8_t, int>> kinds = {
        {"Note_off_c", {0x80, 2}},    {"Note_on_c", {0x90, 2}}, {"Poly_aftertouch_c", {0xA0, 2}},
        {"Control_c", {0xB0, 2}},     {"Program_c", {0xC0, 1}}, {"Channel_aftertouch_c", {0xD0, 1}},
        {"Pitch_bend_c", {0xE0, -1}},
    };
    std::vector<std::pair<int, ChannelEvent>> events;
    std::istringstream lines(runTool("midicsv " + shellQuote(path) + " 2>/dev/null"));
    std::string line;
    while (std::getline(lines, line)) {
        std::vector<std::string> fields;
        std::istringstream split(line);
        std::string field;
        while (std::getline(split, field, ',')) {
            field.erase(0, field.find_first_not_of(' '));
            fields.push_back(field);
        }
        if (fields.size() < 5) continue;
        auto kind = kinds.find(fields[2]);
        if (kind == kinds.end()) continue;
        int track = std::stoi(fields[0]);
        uint32_t tick = uint32_t(std::stoul(fields[1]));
        uint32_t status = kind->second.first | uint32_t(std::stoul(fields[3]));
        uint32_t message = status;
        if (kind->second.second == -1) {
            uint32_t bend = uint32_t(std::stoul(fields[4]));
            message |= ((bend & 0x7F) << 8) | ((bend >> 7) << 16);
        } else {
            message |= uint32_t(std::stoul(fields[4])) << 8;
            if (kind->second.second == 2 && fields.size() > 5) message |= uint32_t(std::stoul(fields[5])) << 16;
        }
        events.push_back({track, {tick, message}});
    }
    return events;
}

std::vector<ChannelEvent> mergedByTick(std::vector<std::pair<int, ChannelEvent>> events) {
    std::stable_sort(events.begin(), events.end(), [](const auto& a, const auto& b) {
        if (a.second.tick != b.second.tick) return a.second.tick < b.second.tick;
        return a.first < b.first;
    });
    std::vector<ChannelEvent> out;
    for (const auto& e : events) out.push_back(e.second);
    return out;
}

std::vector<ChannelEvent> streamChannelEvents(const test::StreamListing& listing) {
    std::vector<ChannelEvent> out;
    uint32_t tick = 0;
    for (const StreamEvent& e : listing.allEvents()) {
        tick += e.deltaTime;
        if (eventType(e.event) == MEVT_SHORTMSG) out.push_back({tick, e.event & 0xFFFFFF});
    }
    return out;
}

enum class Outcome { Plays, LoadFails, ReadFails };

struct Expected {
    Outcome outcome;
    SmfError error;  // what the reader says once the load or a read has failed
};

Expected expectedOutcome(const std::string& relative) {
    static const std::map<std::string, Expected> broken = {
        {"jazz-soft/midi/test-corrupt-file-missing-byte.mid", {Outcome::LoadFails, SmfError::TrackPastEnd}},
        {"jazz-soft/midi/test-empty-file.mid", {Outcome::LoadFails, SmfError::NotMidiFile}},
        {"jazz-soft/midi/test-non-midi-track.mid", {Outcome::LoadFails, SmfError::BadTrackChunk}},
        {"jazz-soft/midi/test-not-a-midi-file.mid", {Outcome::LoadFails, SmfError::NotMidiFile}},
        {"nfroidure/sounds/MIDIBadHeaderChunk.mid", {Outcome::LoadFails, SmfError::NotMidiFile}},
        {"nfroidure/sounds/MIDIBadHeaderLength.mid", {Outcome::LoadFails, SmfError::NotMidiFile}},
        {"nfroidure/sounds/MIDIBadHeaderTracksNum.mid", {Outcome::LoadFails, SmfError::BadTrackChunk}},
        {"nfroidure/sounds/MIDIBadTrackHdr.mid", {Outcome::LoadFails, SmfError::BadTrackChunk}},
        {"nfroidure/sounds/MIDIBadTrackLength.mid", {Outcome::LoadFails, SmfError::TrackPastEnd}},
        // Tracks without end-of-track run out of bytes.
        {"midly/test-asset/SysExTest.mid", {Outcome::ReadFails, SmfError::TruncatedEvent}},
    };
    if (relative.find("test-illegal-message-") != std::string::npos)
        return {Outcome::ReadFails, SmfError::UnknownStatus};
    auto it = broken.find(relative);
    return it == broken.end() ? Expected{Outcome::Plays, SmfError::None} : it->second;
}

TEST(MidiCorpus, EveryFilePlaysLikeMidicsvListsItOrFailsAsExpected) {
    const fs::path root = fs::path(QUELL_CORPORA_DIR) / "midi";
    if (!fs::is_directory(root)) GTEST_SKIP() << "no corpora at " << root;
    if (runTool("command -v midicsv").empty()) GTEST_SKIP() << "midicsv is not installed";

    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file() && entry.path().extension() == ".mid") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    ASSERT_GT(files.size(), 100u);

    int played = 0;
    size_t events = 0;
    for (const fs::path& file : files) {
        const std::string relative = fs::relative(file, root).generic_string();
        SCOPED_TRACE(relative);
        std::optional<std::vector<uint8_t>> image = os::readFile(file.string());
        ASSERT_TRUE(image);
        SmfReader reader;
        const Expected answer = expectedOutcome(relative);
        const Outcome expected = answer.outcome;
        const bool loaded = reader.Load(image->data(), image->size());
        if (expected == Outcome::LoadFails) {
            EXPECT_FALSE(loaded);
            EXPECT_EQ(reader.lastError(), answer.error) << SmfErrorName(reader.lastError());
            continue;
        }
        ASSERT_TRUE(loaded);
        StreamFiller filler(reader);
        test::StreamListing listing = test::listStream(filler);
        if (expected == Outcome::ReadFails) {
            EXPECT_EQ(listing.end, kFillReadFailed);
            EXPECT_EQ(reader.lastError(), answer.error) << SmfErrorName(reader.lastError());
            continue;
        }
        EXPECT_EQ(listing.end, kFillSongEnded);
        std::vector<ChannelEvent> ours = streamChannelEvents(listing);
        EXPECT_EQ(ours, mergedByTick(midicsvChannelEvents(file.string())));
        events += ours.size();
        ++played;
    }
    EXPECT_GE(played, 80);
    EXPECT_GT(events, 20000u);
    std::printf("[ corpus ] %zu files, %d compared with midicsv, %zu channel events\n", files.size(), played, events);
}

}  // namespace
}  // namespace quell::music
