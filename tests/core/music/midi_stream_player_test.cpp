#include "core/music/midi_stream_player.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <thread>

#include "core/music/stream_event.h"
#include "support/fake_midi_stream.h"
#include "support/smf_builder.h"

namespace quell::music {
namespace {

using test::Bytes;
using test::FakeMidiStream;
using test::TrackBuilder;

// Tasks handed to the owner's thread, run when the test says so.
struct TaskQueue {
    std::mutex mutex;
    std::deque<std::function<void()>> tasks;
    MidiStreamPlayer::TaskPoster poster() {
        return [this](std::function<void()> task) {
            std::lock_guard<std::mutex> lock(mutex);
            tasks.push_back(std::move(task));
        };
    }
    size_t size() {
        std::lock_guard<std::mutex> lock(mutex);
        return tasks.size();
    }
    void runAll() {
        for (;;) {
            std::function<void()> task;
            {
                std::lock_guard<std::mutex> lock(mutex);
                if (tasks.empty()) return;
                task = std::move(tasks.front());
                tasks.pop_front();
            }
            task();
        }
    }
};

// A song long enough for many buffers: one note every 24 ticks at 96 ticks
// per quarter and 500,000 us per quarter gives 11 ticks of span, so each
// buffer holds one or two notes.
Bytes longSong(int notes = 40) {
    TrackBuilder t;
    t.tempo(0, 500000);
    for (int i = 0; i < notes; ++i) t.event(24, {0x90, uint8_t(40 + i % 60), 100});
    t.endOfTrack();
    return test::smfFile({t}, 96);
}

Bytes shortSong() {
    TrackBuilder t;
    t.tempo(0, 500000).event(0, {0x90, 60, 100}).event(48, {0x80, 60, 0}).endOfTrack();
    return test::smfFile({t}, 96);
}

struct Fixture {
    explicit Fixture(Bytes song) : image(std::move(song)) {}
    Bytes image;
    FakeMidiStream stream;
    TaskQueue owner;
    MidiStreamPlayer player{stream, owner.poster()};
    bool load() { return player.Load(image.data(), image.size()); }
};

TEST(MidiStreamPlayer, LoadPrimesTwoBuffersOnAPausedStream) {
    Fixture f(longSong());
    ASSERT_TRUE(f.load());
    EXPECT_EQ(f.stream.calls(), (std::vector<std::string>{"open", "division", "prepare", "out", "prepare", "out"}));
    EXPECT_EQ(f.stream.division(), 96u);
    EXPECT_EQ(f.stream.queued(), 2u);
    EXPECT_FALSE(f.stream.running());
    EXPECT_EQ(f.player.returnedCount(), 0);
    EXPECT_EQ(f.player.header(0).bytesRecorded, f.stream.queuedContents()[0].size());
    EXPECT_EQ(f.player.channelVolume(3), 100);

    ASSERT_TRUE(f.player.Play(false));
    EXPECT_TRUE(f.stream.running());
    EXPECT_TRUE(f.player.playing());
}

TEST(MidiStreamPlayer, ReturnedBuffersAreRefilledAndQueuedInTurn) {
    Fixture f(longSong());
    ASSERT_TRUE(f.load());
    ASSERT_TRUE(f.player.Play(true));
    uint32_t expectedBytes = 0;
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        expectedBytes += f.player.header(i % 2).bytesRecorded;
        ASSERT_TRUE(f.stream.returnOldest());
        EXPECT_EQ(f.stream.queued(), 2u);
        EXPECT_EQ(f.player.returnedCount(), 0);
        EXPECT_EQ(f.player.currentBuffer(), (i + 1) % 2);
        EXPECT_EQ(f.player.bytesPlayed(), expectedBytes);
    }
    // The stream saw the song's notes in order, across all buffers.
    uint32_t tick = 0;
    std::vector<uint32_t> noteTicks;
    for (const auto& contents : f.stream.queuedContents())
        for (size_t at = 0; at + 12 <= contents.size(); at += 12) {
            StreamEvent e = readStreamEvent(contents.data() + at);
            tick += e.deltaTime;
            if (eventType(e.event) == MEVT_SHORTMSG) noteTicks.push_back(tick);
        }
    ASSERT_GE(noteTicks.size(), 6u);
    for (size_t i = 0; i < noteTicks.size(); ++i) EXPECT_EQ(noteTicks[i], 24u * (i + 1));
}

TEST(MidiStreamPlayer, WithoutRepeatTheEndResetsToAPausedRewoundDevice) {
    Fixture f(shortSong());
    ASSERT_TRUE(f.load());
    ASSERT_TRUE(f.player.Play(false));
    int returns = 0;
    while (f.player.state() == PlayerState::Normal && returns < 50) {
        ASSERT_TRUE(f.stream.returnOldest());
        ++returns;
    }
    EXPECT_EQ(f.player.state(), PlayerState::EndReached);
    ASSERT_TRUE(f.stream.returnOldest());
    EXPECT_EQ(f.player.state(), PlayerState::Drained);
    EXPECT_TRUE(f.player.resetPending());
    EXPECT_EQ(f.stream.count("close"), 0) << "the reset belongs to the owner's thread";
    ASSERT_EQ(f.owner.size(), 1u);

    f.owner.runAll();
    EXPECT_EQ(f.stream.count("close"), 1);
    EXPECT_EQ(f.stream.count("open"), 2);
    EXPECT_TRUE(f.stream.isOpen());
    EXPECT_FALSE(f.stream.running());
    EXPECT_FALSE(f.player.playing());
    EXPECT_EQ(f.player.state(), PlayerState::Normal);
    EXPECT_EQ(f.stream.queued(), 2u);
    EXPECT_EQ(f.player.header(0).bytesRecorded, 0u);
    EXPECT_EQ(f.player.header(1).bytesRecorded, 0u);
    EXPECT_EQ(f.player.bytesPlayed(), 0u);

    // Played again, the song starts from its beginning.
    ASSERT_TRUE(f.player.Play(false));
    ASSERT_TRUE(f.stream.returnOldest());
    auto contents = f.stream.queuedContents();
    ASSERT_FALSE(contents.back().empty());
    StreamEvent first = readStreamEvent(contents.back().data());
    EXPECT_EQ(first.event, (MEVT_TEMPO << 24) | 500000u);
}

TEST(MidiStreamPlayer, WithRepeatTheSongNeverEndsAndNeverTouchesTheDevice) {
    Fixture f(shortSong());
    ASSERT_TRUE(f.load());
    ASSERT_TRUE(f.player.Play(true));
    for (int i = 0; i < 40; ++i) ASSERT_TRUE(f.stream.returnOldest());
    EXPECT_EQ(f.player.state(), PlayerState::Normal);
    EXPECT_EQ(f.stream.count("open"), 1);
    EXPECT_EQ(f.stream.count("close"), 0);
    EXPECT_EQ(f.owner.size(), 0u);
    int noteOns = 0;
    for (const auto& contents : f.stream.queuedContents())
        for (size_t at = 0; at + 12 <= contents.size(); at += 12)
            noteOns += (readStreamEvent(contents.data() + at).event & 0xFF) == 0x90;
    EXPECT_GE(noteOns, 10);
}

TEST(MidiStreamPlayer, StopWhileBuffersAreOutWaitsForThemAndClosesTheDevice) {
    Fixture f(longSong());
    ASSERT_TRUE(f.load());
    ASSERT_TRUE(f.player.Play(true));
    ASSERT_TRUE(f.stream.returnOldest());
    ASSERT_EQ(f.stream.queued(), 2u);

    ASSERT_TRUE(f.player.Stop(false));
    EXPECT_EQ(f.stream.queued(), 0u);
    EXPECT_FALSE(f.stream.isOpen());
    EXPECT_EQ(f.stream.count("unprepare"), 2);
    EXPECT_EQ(f.player.state(), PlayerState::Normal);
    EXPECT_FALSE(f.player.playing());
    std::vector<std::string> calls = f.stream.calls();
    std::vector<std::string> tail(calls.end() - 5, calls.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"stop", "reset", "unprepare", "unprepare", "close"}));
}

TEST(MidiStreamPlayer, AStopWhoseBuffersNeverComeBackGivesUpAfterTwoSeconds) {
    Fixture f(longSong());
    ASSERT_TRUE(f.load());
    ASSERT_TRUE(f.player.Play(true));
    f.stream.setReturnOnReset(FakeMidiStream::ReturnOnReset::Never);
    auto start = std::chrono::steady_clock::now();
    f.player.Stop(false);
    auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(1900));
    EXPECT_EQ(f.player.state(), PlayerState::Normal);
    EXPECT_FALSE(f.player.deviceOpen());
    EXPECT_EQ(f.stream.count("close"), 1);
}

TEST(MidiStreamPlayer, AUserStopSupersedesAPendingEndOfSongReset) {
    Fixture f(shortSong());
    ASSERT_TRUE(f.load());
    ASSERT_TRUE(f.player.Play(false));
    while (f.stream.returnOldest()) {
    }
    ASSERT_EQ(f.player.state(), PlayerState::Drained);
    ASSERT_EQ(f.owner.size(), 1u);

    // The window closes before the handed-over reset runs.
    f.player.Release();
    EXPECT_FALSE(f.stream.isOpen());
    f.owner.runAll();
    EXPECT_EQ(f.stream.count("open"), 1) << "the device must stay closed";
    EXPECT_FALSE(f.stream.isOpen());
}

TEST(MidiStreamPlayer, TheSongEndingDuringAStopDoesNotReopenTheDevice) {
    Fixture f(shortSong());
    ASSERT_TRUE(f.load());
    ASSERT_TRUE(f.player.Play(false));
    // Return buffers until the fill finds the end: one buffer is still out.
    while (f.player.state() == PlayerState::Normal) ASSERT_TRUE(f.stream.returnOldest());
    ASSERT_EQ(f.player.state(), PlayerState::EndReached);
    ASSERT_EQ(f.stream.queued(), 1u);

    // The stop's reset hands the last buffer back from the stream's thread,
    // which finds the song drained while the stop is waiting.
    f.player.Stop(false);
    EXPECT_FALSE(f.stream.isOpen());
    f.owner.runAll();
    EXPECT_EQ(f.stream.count("open"), 1);
    EXPECT_EQ(f.stream.count("close"), 1);
    EXPECT_FALSE(f.player.resetPending());
}

TEST(MidiStreamPlayer, StopsRacingTheNotificationThreadLeaveNothingBehind) {
    // The stream's thread returns buffers as fast as it can while the owner
    // stops; whatever the interleaving, the device ends closed, no buffer is
    // left with it, and no reset runs after the stop.
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE(round);
        Fixture f(round % 2 ? shortSong() : longSong(6));
        ASSERT_TRUE(f.load());
        ASSERT_TRUE(f.player.Play(false));
        std::atomic<bool> go{true};
        std::thread device([&] {
            while (go.load()) {
                if (!f.stream.returnOldest()) std::this_thread::yield();
            }
        });
        std::this_thread::sleep_for(std::chrono::microseconds(50 * (round % 7)));
        f.owner.runAll();
        f.player.Release();
        go = false;
        device.join();
        f.owner.runAll();
        EXPECT_FALSE(f.stream.isOpen());
        EXPECT_EQ(f.stream.queued(), 0u);
        EXPECT_EQ(f.stream.count("open"), f.stream.count("close"));
    }
}

TEST(MidiStreamPlayer, AControllerSevenEventSetsTheChannelVolume) {
    Fixture f(shortSong());
    ASSERT_TRUE(f.load());
    f.stream.deliverPosition(MEVT_F_CALLBACK | (64u << 16) | (7u << 8) | 0xB5);
    EXPECT_EQ(f.player.channelVolume(5), 50);
    EXPECT_EQ(f.player.channelVolume(4), 100);
    f.stream.deliverPosition(MEVT_F_CALLBACK | (127u << 16) | (7u << 8) | 0xB5);
    EXPECT_EQ(f.player.channelVolume(5), 100);
}

TEST(MidiStreamPlayer, DeviceAndFileFailuresPlayNothing) {
    struct Reporting : MidiStreamPlayer {
        using MidiStreamPlayer::MidiStreamPlayer;
        ~Reporting() override { Release(); }
        void ReportError(int code) override { errors.push_back(code); }
        std::vector<int> errors;
    };
    {
        SCOPED_TRACE("open fails");
        FakeMidiStream stream;
        stream.failWith("open", kStreamNoDriver);
        Reporting player(stream);
        Bytes song = shortSong();
        EXPECT_FALSE(player.Load(song.data(), song.size()));
        EXPECT_EQ(player.errors, std::vector<int>{kStreamNoDriver});
        EXPECT_FALSE(player.Play(true));
    }
    {
        SCOPED_TRACE("broken file");
        FakeMidiStream stream;
        Reporting player(stream);
        Bytes junk = {'M', 'T', 'h', 'd', 0, 0, 0, 9};
        EXPECT_FALSE(player.Load(junk.data(), junk.size()));
        EXPECT_EQ(stream.count("open"), 0);
    }
    {
        SCOPED_TRACE("second buffer cannot be queued");
        FakeMidiStream stream;
        Reporting player(stream);
        Bytes song = longSong();
        ASSERT_TRUE(player.Load(song.data(), song.size()));
        stream.failWith("out", kStreamError);
        ASSERT_TRUE(player.Play(true));
        ASSERT_TRUE(stream.returnOldest());
        EXPECT_EQ(player.errors.back(), kStreamError);
        // With nothing left at the device, the stop does not wait for it.
        auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(player.Stop(false));
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
    }
}

}  // namespace
}  // namespace quell::music
