#include "core/music/stream_filler.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/music/stream_event.h"
#include "support/smf_builder.h"
#include "support/stream_listing.h"

namespace quell::music {
namespace {

using test::Bytes;
using test::TrackBuilder;

uint32_t shortMsg(uint8_t status, uint8_t d1, uint8_t d2) {
    return (uint32_t(d2) << 16) | (uint32_t(d1) << 8) | status;
}
uint32_t tempoWord(uint32_t micros) { return (MEVT_TEMPO << 24) | micros; }

struct Song {
    explicit Song(Bytes bytes) : image(std::move(bytes)) {
        loaded = reader.Load(image.data(), image.size());
        buffer.data = block;
    }
    Bytes image;
    SmfReader reader;
    StreamFiller filler{reader};
    bool loaded = false;
    uint8_t block[kStreamBufferSize];
    StreamBuffer buffer;  // over block, for the tests that fill by hand
};

void expectEvents(const std::vector<StreamEvent>& actual, const std::vector<StreamEvent>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(actual[i].deltaTime, expected[i].deltaTime);
        EXPECT_EQ(actual[i].streamId, 0u);
        EXPECT_EQ(actual[i].event, expected[i].event);
    }
}

TEST(StreamFiller, MergesTracksByTickWithFileOrderBreakingTies) {
    TrackBuilder a, b;
    a.event(0, {0x90, 60, 1}).event(10, {0x90, 61, 1}).event(10, {0x90, 62, 1}).endOfTrack();
    b.event(5, {0x91, 70, 1}).event(5, {0x91, 71, 1}).event(10, {0x91, 72, 1}).endOfTrack();
    // A tempo first gives every buffer room for the whole song.
    TrackBuilder conductor;
    conductor.tempo(0, 500000).endOfTrack();
    Song song(test::smfFile({conductor, a, b}, 96));
    ASSERT_TRUE(song.loaded);
    test::StreamListing listing = test::listStream(song.filler);
    EXPECT_EQ(listing.end, kFillSongEnded);
    expectEvents(listing.allEvents(), {
                                          {0, 0, tempoWord(500000)},
                                          {0, 0, shortMsg(0x90, 60, 1)},
                                          {5, 0, shortMsg(0x91, 70, 1)},
                                          {5, 0, shortMsg(0x90, 61, 1)},  // tick 10: track a first
                                          {0, 0, shortMsg(0x91, 71, 1)},
                                          {10, 0, shortMsg(0x90, 62, 1)},  // tick 20: a before b
                                          {0, 0, shortMsg(0x91, 72, 1)},
                                      });
}

TEST(StreamFiller, DroppedEventsShiftNoTiming) {
    TrackBuilder t;
    t.tempo(0, 500000)
        .event(0, {0x90, 60, 100})
        .meta(30, 0x01, {'t', 'e', 'x', 't'})
        .sysex(30, {0x7E, 0xF7})
        .meta(0, 0x58, {4, 2, 24, 8})
        .event(40, {0x80, 60, 0})
        .endOfTrack(50);
    Song song(test::smfFile({t}, 480));
    ASSERT_TRUE(song.loaded);
    test::StreamListing listing = test::listStream(song.filler);
    expectEvents(listing.allEvents(),
                 {{0, 0, tempoWord(500000)}, {0, 0, shortMsg(0x90, 60, 100)}, {100, 0, shortMsg(0x80, 60, 0)}});
    EXPECT_EQ(listing.end, kFillSongEnded);
}

TEST(StreamFiller, ControllerSevenAsksForACallback) {
    TrackBuilder t;
    t.event(0, {0xB2, 7, 64}).event(0, {0xB2, 10, 64}).event(0, {0xC2, 7}).endOfTrack();
    Song song(test::smfFile({t}));
    ASSERT_TRUE(song.loaded);
    expectEvents(test::listStream(song.filler).allEvents(), {{0, 0, MEVT_F_CALLBACK | shortMsg(0xB2, 7, 64)},
                                                             {0, 0, shortMsg(0xB2, 10, 64)},
                                                             {0, 0, shortMsg(0xC2, 7, 0)}});
}

TEST(StreamFiller, WithoutTempoEveryBufferClosesOnceTimeAdvances) {
    TrackBuilder t;
    for (int i = 0; i < 4; ++i) t.event(i == 0 ? 0 : 10, {0x90, uint8_t(60 + i), 100});
    t.endOfTrack();
    Song song(test::smfFile({t}));
    ASSERT_TRUE(song.loaded);
    test::StreamListing listing = test::listStream(song.filler);
    // A buffer takes events until they cover any time, then one more.
    ASSERT_EQ(listing.buffers.size(), 2u);
    EXPECT_EQ(listing.buffers[0].used, 36u);
    EXPECT_EQ(listing.buffers[1].used, 12u);
    expectEvents(listing.allEvents(), {{0, 0, shortMsg(0x90, 60, 100)},
                                       {10, 0, shortMsg(0x90, 61, 100)},
                                       {10, 0, shortMsg(0x90, 62, 100)},
                                       {10, 0, shortMsg(0x90, 63, 100)}});
}

TEST(StreamFiller, TempoSetsTheBufferTickSpan) {
    // 96 ticks per quarter at 1,000,000 us per quarter: 96 * 60000 / 1000000 = 5 ticks.
    TrackBuilder t;
    t.tempo(0, 1000000);
    for (int i = 0; i < 20; ++i) t.event(1, {0x90, 60, uint8_t(i)});
    t.endOfTrack();
    Song song(test::smfFile({t}, 96));
    ASSERT_TRUE(song.loaded);
    test::StreamListing listing = test::listStream(song.filler);
    EXPECT_EQ(song.filler.tempo, 1000000u);
    EXPECT_EQ(song.filler.bufferTickSpan, 5u);
    ASSERT_GE(listing.buffers.size(), 2u);
    // Buffer 0: tempo at 0 and notes at ticks 1..7, the last one past the span.
    EXPECT_EQ(listing.buffers[0].events.size(), 8u);
    // Later buffers start at the last tick written and take seven notes.
    EXPECT_EQ(listing.buffers[1].events.size(), 7u);
    EXPECT_EQ(listing.buffers[1].events[0].deltaTime, 1u);
    EXPECT_EQ(listing.allEvents().size(), 21u);
}

TEST(StreamFiller, AFullBufferHoldsTheEventForTheNext) {
    // 200 events at one tick: only the 1024 bytes limit the buffers.
    TrackBuilder t;
    t.tempo(0, 500000);
    for (int i = 0; i < 200; ++i) t.event(0, {0x90, uint8_t(i % 128), 1});
    t.tempo(0, 400000).event(0, {0x80, 1, 1}).endOfTrack();
    Song song(test::smfFile({t}, 96));
    ASSERT_TRUE(song.loaded);
    test::StreamListing listing = test::listStream(song.filler);
    ASSERT_EQ(listing.buffers.size(), 3u);
    EXPECT_EQ(listing.buffers[0].used, 85u * 12u);
    EXPECT_EQ(listing.buffers[1].used, 85u * 12u);
    std::vector<StreamEvent> all = listing.allEvents();
    ASSERT_EQ(all.size(), 203u);
    for (int i = 0; i < 200; ++i) ASSERT_EQ(all[1 + i].event, shortMsg(0x90, uint8_t(i % 128), 1)) << i;
    EXPECT_EQ(all[201].event, tempoWord(400000));
    EXPECT_EQ(song.filler.tempo, 400000u);
}

TEST(StreamFiller, AHeldTempoEventKeepsItsValue) {
    // 84 notes then a tempo: the tempo is the 86th record and must wait.
    TrackBuilder t;
    t.tempo(0, 500000);
    for (int i = 0; i < 84; ++i) t.event(0, {0x90, 60, 1});
    t.tempo(0, 0x123456).endOfTrack();
    Song song(test::smfFile({t}, 96));
    ASSERT_TRUE(song.loaded);
    test::StreamListing listing = test::listStream(song.filler);
    ASSERT_EQ(listing.buffers.size(), 2u);
    ASSERT_EQ(listing.buffers[1].events.size(), 1u);
    EXPECT_EQ(listing.buffers[1].events[0].event, tempoWord(0x123456));
}

TEST(StreamFiller, InsertTempoPutsTheCurrentTempoBeforeTheNextEvent) {
    TrackBuilder t;
    t.tempo(0, 600000);
    for (int i = 0; i < 40; ++i) t.event(30, {0x90, 60, 1});
    t.endOfTrack();
    Song song(test::smfFile({t}, 96));
    ASSERT_TRUE(song.loaded);
    ASSERT_EQ(song.filler.FillBuffer(song.buffer, true), kFillReady);
    song.filler.insertTempo = true;
    song.buffer.resetFill();
    ASSERT_EQ(song.filler.FillBuffer(song.buffer, false), kFillReady);
    std::vector<StreamEvent> events = test::eventsOf(song.buffer);
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[0].deltaTime, 0u);
    EXPECT_EQ(events[0].event, tempoWord(600000));
    EXPECT_EQ(events[1].event, shortMsg(0x90, 60, 1));
    EXPECT_EQ(events[1].deltaTime, 30u);
    EXPECT_FALSE(song.filler.insertTempo);
}

TEST(StreamFiller, AReadFailureGives101ThenAlways102) {
    TrackBuilder t;
    t.event(0, {0x90, 60, 100}).event(10, {0x80, 60, 0});  // no end-of-track event
    Song song(test::smfFile({t}));
    ASSERT_TRUE(song.loaded);
    int result = kFillReady;
    int fills = 0;
    while (result == kFillReady && fills++ < 10) {
        song.buffer.resetFill();
        result = song.filler.FillBuffer(song.buffer, fills == 1);
    }
    EXPECT_EQ(result, kFillReadFailed);
    EXPECT_TRUE(song.filler.flags & kReadFailed);
    song.buffer.resetFill();
    EXPECT_EQ(song.filler.FillBuffer(song.buffer, false), kFillAfterFailure);
    EXPECT_EQ(song.filler.FillBuffer(song.buffer, false), kFillAfterFailure);
    EXPECT_EQ(song.buffer.used, 0u);
}

TEST(StreamFiller, RepeatRestartsRightAfterTheLastEvent) {
    TrackBuilder t;
    t.tempo(0, 500000).event(7, {0x90, 60, 100}).event(20, {0x80, 60, 0}).endOfTrack(50);
    Song song(test::smfFile({t}, 96));
    ASSERT_TRUE(song.loaded);
    song.filler.repeat = true;
    test::StreamListing listing = test::listStream(song.filler, 6);
    EXPECT_EQ(listing.end, 0) << "a repeating song never ends";
    std::vector<StreamEvent> all = listing.allEvents();
    ASSERT_GE(all.size(), 6u);
    expectEvents({all.begin(), all.begin() + 6}, {{0, 0, tempoWord(500000)},
                                                  {7, 0, shortMsg(0x90, 60, 100)},
                                                  {20, 0, shortMsg(0x80, 60, 0)},
                                                  {0, 0, tempoWord(500000)},
                                                  {7, 0, shortMsg(0x90, 60, 100)},
                                                  {20, 0, shortMsg(0x80, 60, 0)}});
}

TEST(StreamFiller, WithoutRepeatTheEndGives103AndAddsNothing) {
    TrackBuilder t;
    t.event(0, {0x90, 60, 100}).endOfTrack();
    Song song(test::smfFile({t}));
    ASSERT_TRUE(song.loaded);
    ASSERT_EQ(song.filler.FillBuffer(song.buffer, true), kFillReady);
    EXPECT_EQ(song.buffer.used, 12u);
    EXPECT_TRUE(song.filler.flags & kAllEnded);
    song.buffer.resetFill();
    EXPECT_EQ(song.filler.FillBuffer(song.buffer, false), kFillSongEnded);
    EXPECT_EQ(song.buffer.used, 0u);
    // Turning repeat on later restarts the song in the next fill.
    song.filler.repeat = true;
    song.filler.lastTick = 1;  // pretend the pass had length
    EXPECT_EQ(song.filler.FillBuffer(song.buffer, false), kFillReady);
    EXPECT_EQ(song.buffer.used, 12u);
}

TEST(StreamFiller, ASongWithoutLengthDoesNotLoopForever) {
    struct Case {
        const char* name;
        TrackBuilder track;
    };
    TrackBuilder onlyEnd;
    onlyEnd.endOfTrack();
    TrackBuilder onlyTickZero;
    onlyTickZero.event(0, {0xC0, 5}).event(0, {0xB0, 7, 100}).endOfTrack(100);
    for (auto& [name, track] : std::vector<Case>{{"only end of track", onlyEnd}, {"all at tick 0", onlyTickZero}}) {
        SCOPED_TRACE(name);
        Song song(test::smfFile({track}));
        ASSERT_TRUE(song.loaded);
        song.filler.repeat = true;
        test::StreamListing listing = test::listStream(song.filler, 50);
        EXPECT_EQ(listing.end, kFillSongEnded);
        EXPECT_LE(listing.buffers.size(), 1u);
    }
}

TEST(StreamFiller, MalformedTempoEventsAreHarmless) {
    TrackBuilder t;
    t.tempo(0, 500000)
        .meta(0, 0x51, {0x01})  // too short to hold a tempo
        .tempo(0, 0)            // zero would divide by zero
        .event(10, {0x90, 60, 1})
        .endOfTrack();
    Song song(test::smfFile({t}, 96));
    ASSERT_TRUE(song.loaded);
    test::StreamListing listing = test::listStream(song.filler);
    EXPECT_EQ(listing.end, kFillSongEnded);
    expectEvents(listing.allEvents(),
                 {{0, 0, tempoWord(500000)}, {0, 0, tempoWord(0)}, {10, 0, shortMsg(0x90, 60, 1)}});
    EXPECT_EQ(song.filler.bufferTickSpan, 96u * 60000u / 500000u);
}

}  // namespace
}  // namespace quell::music
