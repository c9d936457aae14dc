#include "platform/midi/stream_engine.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/music/stream_event.h"
#include "recording_synthesizer.h"

namespace quell::platform {
namespace {

using music::StreamEvent;
using music::StreamHeader;
using test::Buffer;
using test::ManualClock;
using test::note;
using test::Played;
using test::RecordingLog;
using test::RecordingSynthesizer;

uint32_t tempo(uint32_t micros) { return (music::MEVT_TEMPO << 24) | micros; }

struct Engine {
    Engine() {
        engine.setSynthesizer(&synth);
        engine.setTimeDivision(96);
    }
    // Plays everything due, stepping the clock to each next event, until
    // nothing more is due or the time limit is reached.
    void runUntil(int64_t limit) {
        for (;;) {
            std::optional<int64_t> next = engine.advance(clock.nowMicros());
            if (!next || *next > limit) return;
            clock.advanceTo(*next);
        }
    }
    std::vector<StreamHeader*> done() {
        std::vector<StreamHeader*> out;
        for (const StreamNotification& n : engine.takeNotifications())
            if (n.kind == StreamNotification::BufferDone) out.push_back(n.header);
        return out;
    }
    ManualClock clock;
    RecordingLog log;
    RecordingSynthesizer synth{log, clock};
    StreamEngine engine;
};

TEST(StreamEngine, EventTimesFollowDivisionAndTempoExactly) {
    Engine e;
    e.clock.advanceTo(1000);
    Buffer a({{0, 0, note(60)}, {96, 0, note(61)}, {0, 0, tempo(250000)}, {48, 0, note(62)}});
    Buffer b({{1, 0, note(63)}, {95, 0, tempo(1000000)}, {3, 0, note(64)}});
    e.engine.enqueue(&a.header, e.clock.nowMicros());
    e.engine.enqueue(&b.header, e.clock.nowMicros());
    e.engine.restart(e.clock.nowMicros());
    e.runUntil(10'000'000);

    std::vector<Played> played = e.log.played();
    ASSERT_EQ(played.size(), 5u);
    // 96 ticks at 500,000 us a quarter = 500 ms; 48 ticks at 250,000 = 125 ms;
    // 1 tick at 250,000 / 96 = 2604.1666 us; 95 more make 250 ms in all; then
    // 3 ticks at 1,000,000 / 96 = 31250 us.
    const int64_t expected[] = {1000, 501000, 626000, 628604, 907250};
    for (size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(played[i].time, expected[i]);
        EXPECT_EQ(played[i].message, note(uint8_t(60 + i)));
    }
    EXPECT_EQ(e.done(), (std::vector<StreamHeader*>{&a.header, &b.header}));
    EXPECT_EQ(e.engine.tempo(), 1000000u);
}

TEST(StreamEngine, SmpteDivisionCountsFramesAndIgnoresTempo) {
    struct Case {
        uint32_t division;
        int64_t tickMicros100;  // one tick in hundredths of a microsecond
    };
    // -25 fps, 40 ticks a frame: 1 ms a tick. -30 fps, 4 ticks: 8333.33 us.
    // -29 (29.97 fps), 10 ticks: 3336.67 us. -24 fps, 1 tick: 41666.67 us.
    const Case cases[] = {{0xE728, 100000}, {0xE204, 833333}, {0xE30A, 333667}, {0xE801, 4166667}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.division);
        Engine e;
        ASSERT_TRUE(e.engine.setTimeDivision(c.division));
        Buffer a({{0, 0, note(60)}, {0, 0, tempo(100)}, {300, 0, note(61)}});
        e.engine.enqueue(&a.header, 0);
        e.engine.restart(0);
        e.runUntil(100'000'000);
        std::vector<Played> played = e.log.played();
        ASSERT_EQ(played.size(), 2u);
        EXPECT_NEAR(double(played[1].time), 300.0 * double(c.tickMicros100) / 100.0, 1.0);
    }
    Engine e;
    EXPECT_FALSE(e.engine.setTimeDivision(0));
    EXPECT_FALSE(e.engine.setTimeDivision(0xE700));  // no ticks per frame
    EXPECT_FALSE(e.engine.setTimeDivision(0xF028));  // -16 fps is no SMPTE rate
}

TEST(StreamEngine, AStreamStartsPausedAndResumesWhereItPaused) {
    Engine e;
    Buffer a({{0, 0, note(60)}, {96, 0, note(61)}});
    e.engine.enqueue(&a.header, 0);
    EXPECT_EQ(e.engine.advance(0), std::nullopt);
    e.clock.advanceTo(5'000'000);
    EXPECT_EQ(e.engine.advance(e.clock.nowMicros()), std::nullopt);
    EXPECT_TRUE(e.log.played().empty());
    e.engine.restart(e.clock.nowMicros());
    e.runUntil(100'000'000);
    std::vector<Played> played = e.log.played();
    ASSERT_EQ(played.size(), 2u);
    EXPECT_EQ(played[0].time, 5'000'000);
    EXPECT_EQ(played[1].time, 5'500'000);
}

TEST(StreamEngine, BuffersComeBackInOrderIncludingEmptyAndRaggedOnes) {
    Engine e;
    Buffer empty;
    Buffer ragged({{0, 0, note(60)}, {10, 0, note(61)}});
    ragged.header.bytesRecorded = 12 + 7;  // a partial record at the end is not an event
    Buffer last({{10, 0, note(62)}});
    for (Buffer* b : {&empty, &ragged, &last}) e.engine.enqueue(&b->header, 0);
    e.engine.restart(0);
    e.runUntil(100'000'000);
    EXPECT_EQ(e.done(), (std::vector<StreamHeader*>{&empty.header, &ragged.header, &last.header}));
    std::vector<Played> played = e.log.played();
    ASSERT_EQ(played.size(), 2u);
    EXPECT_EQ(played[1].message, note(62));
    EXPECT_TRUE(last.header.flags & music::MHDR_DONE);
    EXPECT_EQ(e.engine.queued(), 0u);
}

TEST(StreamEngine, StopSilencesHandsEverythingBackAndRewindsThePosition) {
    Engine e;
    Buffer a({{0, 0, note(60)}, {96, 0, note(61)}});
    Buffer b({{96, 0, note(62)}});
    e.engine.enqueue(&a.header, 0);
    e.engine.enqueue(&b.header, 0);
    e.engine.restart(0);
    e.runUntil(100'000);  // only the first note is due
    ASSERT_EQ(e.log.played().size(), 1u);

    e.clock.advanceTo(200'000);
    e.engine.stop();
    EXPECT_FALSE(e.engine.running());
    EXPECT_EQ(e.done(), (std::vector<StreamHeader*>{&a.header, &b.header}));
    std::vector<Played> played = e.log.played();
    ASSERT_EQ(played.size(), 2u);
    EXPECT_EQ(played[1].message, 0u) << "stop silences the sounding notes";

    // Queued again and restarted, the buffer plays from position 0.
    Buffer c({{96, 0, note(63)}});
    e.engine.enqueue(&c.header, e.clock.nowMicros());
    e.engine.restart(e.clock.nowMicros());
    e.runUntil(100'000'000);
    played = e.log.played();
    ASSERT_EQ(played.size(), 3u);
    EXPECT_EQ(played[2].time, 700'000);
}

TEST(StreamEngine, ResetSilencesAndHandsBackButKeepsPlaying) {
    Engine e;
    Buffer a({{0, 0, note(60)}, {960, 0, note(61)}});
    e.engine.enqueue(&a.header, 0);
    e.engine.restart(0);
    e.runUntil(1000);
    e.engine.reset();
    EXPECT_TRUE(e.engine.running());
    EXPECT_EQ(e.done(), (std::vector<StreamHeader*>{&a.header}));
    EXPECT_EQ(e.log.played().back().message, 0u);
}

TEST(StreamEngine, AStarvedStreamTakesUpTimeFromTheNextBuffer) {
    Engine e;
    Buffer a({{0, 0, note(60)}});
    e.engine.enqueue(&a.header, 0);
    e.engine.restart(0);
    e.runUntil(0);
    ASSERT_EQ(e.done().size(), 1u);
    // Nothing queued for three seconds; the next buffer's delta counts from
    // when it arrives, not from the last event.
    e.clock.advanceTo(3'000'000);
    Buffer b({{96, 0, note(61)}, {96, 0, note(62)}});
    e.engine.enqueue(&b.header, e.clock.nowMicros());
    e.runUntil(100'000'000);
    std::vector<Played> played = e.log.played();
    ASSERT_EQ(played.size(), 3u);
    EXPECT_EQ(played[1].time, 3'500'000);
    EXPECT_EQ(played[2].time, 4'000'000);
}

TEST(StreamEngine, FlaggedEventsAreReportedAndLongEventsSkipped) {
    Engine e;
    uint32_t volume = music::MEVT_F_CALLBACK | 0xB3 | (7u << 8) | (90u << 16);
    std::vector<uint8_t> bytes(1024);
    music::writeStreamEvent(bytes.data(), {0, 0, volume});
    // A long event with 5 parameter bytes (padded to 8), then a note.
    music::writeStreamEvent(bytes.data() + 12, {0, 0, music::MEVT_F_LONG | 5});
    music::writeStreamEvent(bytes.data() + 32, {0, 0, note(70)});
    StreamHeader header;
    header.data = bytes.data();
    header.bufferLength = 1024;
    header.bytesRecorded = 44;
    e.engine.enqueue(&header, 0);
    e.engine.restart(0);
    e.runUntil(0);
    std::vector<StreamNotification> n = e.engine.takeNotifications();
    ASSERT_EQ(n.size(), 2u);
    EXPECT_EQ(n[0].kind, StreamNotification::Position);
    EXPECT_EQ(n[0].event, volume);
    EXPECT_EQ(n[0].header, &header);
    EXPECT_EQ(n[1].kind, StreamNotification::BufferDone);
    std::vector<Played> played = e.log.played();
    ASSERT_EQ(played.size(), 2u);
    EXPECT_EQ(played[0].message, volume & 0xFFFFFF);
    EXPECT_EQ(played[1].message, note(70));
}

}  // namespace
}  // namespace quell::platform
