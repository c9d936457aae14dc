#include "core/music/smf_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/smf_builder.h"

namespace quell::music {
namespace {

using test::Bytes;
using test::TrackBuilder;

TrackBuilder oneNote() {
    TrackBuilder t;
    t.event(0, {0x90, 60, 100}).event(10, {0x80, 60, 0}).endOfTrack();
    return t;
}

TEST(SmfReader, LoadRejectsMalformedHeadersAndChunks) {
    Bytes track = oneNote().bytes();
    struct Case {
        const char* name;
        Bytes image;
        SmfError error;
    };
    std::vector<Case> cases = {
        {"empty image", {}, SmfError::NotMidiFile},
        {"no MThd", test::concat({{'M', 'T', 'h', 'x'}, Bytes(10, 0), test::chunk("MTrk", track)}),
         SmfError::NotMidiFile},
        {"header length 7", test::concat({test::header(0, 1, 96, 7), {0}, test::chunk("MTrk", track)}),
         SmfError::NotMidiFile},
        {"header length 5", test::concat({test::header(0, 1, 96, 5), test::chunk("MTrk", track)}),
         SmfError::NotMidiFile},
        {"chunk not MTrk", test::concat({test::header(0, 1, 96), test::chunk("Junk", track)}), SmfError::BadTrackChunk},
        {"lower-case mtrk", test::concat({test::header(0, 1, 96), test::chunk("mTrk", track)}),
         SmfError::BadTrackChunk},
        {"track count past image", test::concat({test::header(1, 2, 96), test::chunk("MTrk", track)}),
         SmfError::BadTrackChunk},
        {"header cut short", Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0}, SmfError::NotMidiFile},
        {"first delta unreadable", test::concat({test::header(0, 1, 96), test::chunk("MTrk", {0x81, 0x80})}),
         SmfError::TruncatedEvent},
    };
    // A chunk length one byte longer than what the image holds.
    Bytes longChunk = test::concat({test::header(0, 1, 96), test::chunk("MTrk", track)});
    longChunk[14 + 7] += 1;
    cases.push_back({"chunk length past image", longChunk, SmfError::TrackPastEnd});
    Bytes hugeChunk = longChunk;
    hugeChunk[14 + 4] = 0xFF;
    cases.push_back({"chunk length near 4 GiB", hugeChunk, SmfError::TrackPastEnd});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmfReader reader;
        EXPECT_FALSE(reader.Load(c.image.data(), c.image.size()));
        EXPECT_FALSE(reader.loaded());
        EXPECT_EQ(reader.lastError(), c.error) << SmfErrorName(reader.lastError());
    }
}

TEST(SmfReader, LoadPositionsEveryTrackAtItsFirstEvent) {
    TrackBuilder a;
    a.event(300, {0x90, 60, 100}).endOfTrack();
    TrackBuilder empty;
    Bytes image = test::smfFile({a, empty, oneNote()}, 480, 0);
    // Trailing bytes after the last chunk are never looked at.
    image.push_back(0x00);

    SmfReader reader;
    ASSERT_TRUE(reader.Load(image.data(), image.size()));
    EXPECT_EQ(reader.division(), 480);
    ASSERT_EQ(reader.tracks().size(), 3u);
    EXPECT_EQ(reader.tracks()[0].nextTick, 300u);
    EXPECT_FALSE(reader.tracks()[0].ended);
    EXPECT_EQ(reader.tracks()[0].cursor, reader.tracks()[0].start + 2);
    EXPECT_TRUE(reader.tracks()[1].ended);
    EXPECT_EQ(reader.tracks()[2].nextTick, 0u);

    EXPECT_FALSE(reader.Load(image.data(), image.size())) << "a second file must be refused";
    EXPECT_EQ(reader.lastError(), SmfError::AlreadyLoaded);
    EXPECT_TRUE(reader.loaded());
}

TEST(SmfReader, ReadVarLenDecodesGroupsAndStopsAtTheTrackEnd) {
    struct Case {
        Bytes bytes;
        std::optional<uint32_t> value;
    };
    const std::vector<Case> cases = {
        {{0x00}, 0u},
        {{0x7F}, 0x7Fu},
        {{0x81, 0x00}, 0x80u},
        {{0xC0, 0x00}, 0x2000u},
        {{0xFF, 0xFF, 0x7F}, 0x1FFFFFu},
        {{0xFF, 0xFF, 0xFF, 0x7F}, 0x0FFFFFFFu},
        {{0x81}, std::nullopt},
        {{0xFF, 0xFF}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        // The first delta is a plain 0 so Load succeeds; the quantity follows.
        Bytes body = test::concat({{0x00}, c.bytes});
        Bytes image = test::concat({test::header(0, 1, 96), test::chunk("MTrk", body)});
        SmfReader reader;
        ASSERT_TRUE(reader.Load(image.data(), image.size()));
        EXPECT_EQ(reader.ReadVarLen(reader.tracks()[0]), c.value);
    }
}

struct Diagnostics {
    std::vector<std::pair<size_t, std::string>> texts;
    DiagnosticHook hook() {
        return [this](size_t track, const char* text) { texts.emplace_back(track, text); };
    }
};

TEST(SmfReader, RunningStatusTakesOneDataByteForProgramChangeAndTwoForNotes) {
    TrackBuilder t;
    t.event(0, {0xC3, 5})
        .raw({0x00, 7})  // program change, then running status
        .event(4, {0x93, 60, 100})
        .raw({0x02, 62, 90})  // note-on, then running status
        .endOfTrack();
    Bytes image = test::smfFile({t});
    SmfReader reader;
    ASSERT_TRUE(reader.Load(image.data(), image.size()));

    struct Expect {
        uint32_t tick;
        uint8_t status, d1, d2;
        uint32_t length;
    };
    const Expect expected[] = {{0, 0xC3, 5, 0, 2}, {0, 0xC3, 7, 0, 2}, {4, 0x93, 60, 100, 3}, {6, 0x93, 62, 90, 3}};
    TrackEvent e;
    for (const Expect& x : expected) {
        SCOPED_TRACE(x.tick);
        ASSERT_TRUE(reader.ReadEvent(0, e));
        EXPECT_EQ(e.tick, x.tick);
        EXPECT_EQ(e.status, x.status);
        EXPECT_EQ(e.data1, x.d1);
        EXPECT_EQ(e.data2, x.d2);
        EXPECT_EQ(e.length, x.length);
    }
    ASSERT_TRUE(reader.ReadEvent(0, e));
    EXPECT_EQ(e.status, 0xFF);
    EXPECT_EQ(e.data1, 0x2F);
    EXPECT_TRUE(reader.tracks()[0].ended);
    EXPECT_FALSE(reader.ReadEvent(0, e)) << "an ended track gives no more events";
    EXPECT_EQ(reader.lastError(), SmfError::TrackEnded);
    EXPECT_FALSE(reader.ReadEvent(1, e));
    EXPECT_EQ(reader.lastError(), SmfError::NoSuchTrack);
}

TEST(SmfReader, SysExAndMetaKeepTheirDataAndLeaveRunningStatusAlone) {
    TrackBuilder t;
    t.event(0, {0x91, 60, 100})
        .sysex(1, {0x7E, 0x7F, 0xF7})
        .meta(1, 0x01, {'h', 'i'})
        .raw({0x01, 64, 80})  // running status survives both
        .sysex(0, {})
        .meta(0, 0x06, {})
        .endOfTrack();
    Bytes image = test::smfFile({t});
    SmfReader reader;
    ASSERT_TRUE(reader.Load(image.data(), image.size()));
    TrackEvent e;
    ASSERT_TRUE(reader.ReadEvent(0, e));
    ASSERT_TRUE(reader.ReadEvent(0, e));
    EXPECT_EQ(e.status, 0xF0);
    ASSERT_EQ(e.length, 3u);
    ASSERT_TRUE(e.data);
    EXPECT_EQ(e.data[2], 0xF7);
    ASSERT_TRUE(reader.ReadEvent(0, e));
    EXPECT_EQ(e.status, 0xFF);
    EXPECT_EQ(e.data1, 0x01);
    ASSERT_EQ(e.length, 2u);
    EXPECT_EQ(e.data[1], 'i');
    ASSERT_TRUE(reader.ReadEvent(0, e));
    EXPECT_EQ(e.status, 0x91);
    EXPECT_EQ(e.data1, 64);
    EXPECT_EQ(e.tick, 3u);
    ASSERT_TRUE(reader.ReadEvent(0, e));
    EXPECT_EQ(e.status, 0xF0);
    EXPECT_EQ(e.length, 0u);
    EXPECT_TRUE(e.data) << "an empty system-exclusive event still gets a block";
    ASSERT_TRUE(reader.ReadEvent(0, e));
    EXPECT_EQ(e.length, 0u);
    EXPECT_FALSE(e.data) << "an empty meta event gets none";
}

TEST(SmfReader, BrokenEventsFailWithTheirDiagnosticText) {
    struct Case {
        const char* name;
        Bytes body;        // after the first delta of 0
        const char* text;  // nullptr: fails without a text
        SmfError error;
    };
    const std::vector<Case> cases = {
        {"data byte without running status",
         {0x3C, 0x40},
         "Reference to missing running status.",
         SmfError::MissingRunningStatus},
        {"sysex length unreadable", {0xF0, 0x83}, "SysEx event truncated (length)", SmfError::TruncatedEvent},
        {"sysex data runs out", {0xF0, 0x05, 1, 2}, "SysEx event truncated", SmfError::TruncatedEvent},
        {"sysex length far past the track",
         {0xF0, 0xFF, 0xFF, 0xFF, 0x7F, 1},
         "SysEx event truncated",
         SmfError::TruncatedEvent},
        {"meta length unreadable", {0xFF, 0x01, 0x80}, "Meta event truncated (length)", SmfError::TruncatedEvent},
        {"meta data runs out", {0xFF, 0x01, 0x04, 'a'}, "Meta event truncated", SmfError::TruncatedEvent},
        {"meta without type", {0xFF}, nullptr, SmfError::TruncatedEvent},
        {"note cut inside", {0x90, 0x3C}, nullptr, SmfError::TruncatedEvent},
        {"running status cut inside", {0x90, 60, 1, 0x00, 62}, nullptr, SmfError::TruncatedEvent},
        {"system common status", {0xF2, 0, 0}, nullptr, SmfError::UnknownStatus},
        {"real-time status", {0xF8}, nullptr, SmfError::UnknownStatus},
        {"no end of track", {0x90, 60, 100}, nullptr, SmfError::TruncatedEvent},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes image = test::concat({test::header(0, 1, 96), test::chunk("MTrk", test::concat({{0x00}, c.body}))});
        SmfReader reader;
        Diagnostics diag;
        reader.setDiagnosticHook(diag.hook());
        ASSERT_TRUE(reader.Load(image.data(), image.size()));
        TrackEvent e;
        bool ok = true;
        for (int i = 0; i < 4 && ok; ++i) ok = reader.ReadEvent(0, e);
        EXPECT_FALSE(ok);
        EXPECT_EQ(reader.lastError(), c.error) << SmfErrorName(reader.lastError());
        if (c.text) {
            ASSERT_EQ(diag.texts.size(), 1u);
            EXPECT_EQ(diag.texts[0].first, 0u);
            EXPECT_EQ(diag.texts[0].second, c.text);
        } else {
            EXPECT_TRUE(diag.texts.empty());
        }
    }
}

TEST(SmfReader, RewindStartsEveryTrackAgain) {
    TrackBuilder a;
    a.event(5, {0x90, 60, 100}).raw({0x05, 61, 100}).endOfTrack();
    TrackBuilder empty;
    Bytes image = test::smfFile({a, empty});
    SmfReader reader;
    ASSERT_TRUE(reader.Load(image.data(), image.size()));
    TrackEvent e;
    while (reader.ReadEvent(0, e)) {
    }
    ASSERT_TRUE(reader.tracks()[0].ended);
    ASSERT_TRUE(reader.RewindTracks());
    EXPECT_FALSE(reader.tracks()[0].ended);
    EXPECT_TRUE(reader.tracks()[1].ended);
    EXPECT_EQ(reader.tracks()[0].nextTick, 5u);
    EXPECT_EQ(reader.tracks()[0].runningStatus, 0);
    ASSERT_TRUE(reader.ReadEvent(0, e));
    EXPECT_EQ(e.data1, 60);
    ASSERT_TRUE(reader.ReadEvent(0, e));
    EXPECT_EQ(e.data1, 61);
    EXPECT_EQ(e.tick, 10u);
}

TEST(SmfReader, ErrorNames) {
    const std::pair<SmfError, const char*> names[] = {
        {SmfError::None, "none"},
        {SmfError::AlreadyLoaded, "already-loaded"},
        {SmfError::NotMidiFile, "not-a-midi-file"},
        {SmfError::BadTrackChunk, "bad-track-chunk"},
        {SmfError::TrackPastEnd, "track-past-end"},
        {SmfError::TruncatedEvent, "truncated-event"},
        {SmfError::MissingRunningStatus, "missing-running-status"},
        {SmfError::UnknownStatus, "unknown-status"},
        {SmfError::OutOfMemory, "out-of-memory"},
        {SmfError::NoSuchTrack, "no-such-track"},
        {SmfError::TrackEnded, "track-ended"},
    };
    for (const auto& [error, name] : names) {
        SCOPED_TRACE(name);
        EXPECT_STREQ(SmfErrorName(error), name);
    }
    EXPECT_STREQ(SmfErrorName(static_cast<SmfError>(99)), "unknown-error");
}

}  // namespace
}  // namespace quell::music
