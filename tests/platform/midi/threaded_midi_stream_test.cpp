#include "platform/midi/threaded_midi_stream.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "core/music/stream_event.h"
#include "recording_synthesizer.h"

namespace quell::platform {
namespace {

using music::StreamHeader;
using test::Buffer;
using test::ManualClock;
using test::note;
using test::RecordingLog;
using test::RecordingSynthesizer;

// Writes down every notification with the thread it arrived on.
struct Client : music::MidiStreamClient {
    std::mutex mutex;
    std::condition_variable cv;
    std::vector<std::string> log;
    std::vector<StreamHeader*> done;
    std::vector<std::thread::id> threads;

    void add(const std::string& what, StreamHeader* header = nullptr) {
        std::lock_guard<std::mutex> lock(mutex);
        log.push_back(what);
        if (header) done.push_back(header);
        threads.push_back(std::this_thread::get_id());
        cv.notify_all();
    }
    void onStreamOpened() override { add("open"); }
    void onStreamClosed() override { add("close"); }
    void onStreamBufferDone(StreamHeader& h) override { add("done", &h); }
    void onStreamPosition(StreamHeader&, uint32_t) override { add("position"); }
    bool waitForDone(size_t n) {
        std::unique_lock<std::mutex> lock(mutex);
        return cv.wait_for(lock, std::chrono::seconds(3), [&] { return done.size() >= n; });
    }
};

ThreadedMidiStream::SynthesizerFactory recording(RecordingLog& log, StreamClock& clock) {
    return
        [&log, &clock]() -> std::unique_ptr<Synthesizer> { return std::make_unique<RecordingSynthesizer>(log, clock); };
}

TEST(ThreadedMidiStream, PlaysOnItsOwnClockAndHandsBuffersBackFromItsOwnThread) {
    ManualClock clock;
    RecordingLog played;
    Client client;
    ThreadedMidiStream stream(recording(played, clock), clock);
    ASSERT_EQ(stream.open(&client), music::kStreamOk);
    ASSERT_EQ(stream.setTimeDivision(480), music::kStreamOk);
    Buffer a({{0, 0, note(60)}, {480, 0, note(61)}});
    Buffer b({{240, 0, note(62)}});
    for (Buffer* x : {&a, &b}) {
        ASSERT_EQ(stream.prepareHeader(x->header), music::kStreamOk);
        ASSERT_EQ(stream.out(x->header), music::kStreamOk);
    }
    EXPECT_EQ(stream.unprepareHeader(a.header), music::kStreamStillPlaying);
    EXPECT_EQ(stream.close(), music::kStreamStillPlaying);

    ASSERT_EQ(stream.restart(), music::kStreamOk);
    ASSERT_TRUE(played.waitFor(1));
    clock.advanceTo(499'999);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(played.played().size(), 1u) << "nothing is due before 500 ms";
    clock.advanceTo(500'000);
    ASSERT_TRUE(played.waitFor(2));
    ASSERT_TRUE(client.waitForDone(1));
    clock.advanceTo(750'000);
    ASSERT_TRUE(played.waitFor(3));
    ASSERT_TRUE(client.waitForDone(2));

    std::vector<test::Played> p = played.played();
    EXPECT_EQ(p[0].time, 0);
    EXPECT_EQ(p[1].time, 500'000);
    EXPECT_EQ(p[2].time, 750'000);
    EXPECT_EQ(p[2].message, note(62));

    ASSERT_EQ(stream.unprepareHeader(a.header), music::kStreamOk);
    ASSERT_EQ(stream.close(), music::kStreamOk);
    // Everything arrived before close returned, the close notice last, all on
    // one thread that is not the caller's.
    std::lock_guard<std::mutex> lock(client.mutex);
    EXPECT_EQ(client.log, (std::vector<std::string>{"open", "done", "done", "close"}));
    EXPECT_EQ(client.done, (std::vector<StreamHeader*>{&a.header, &b.header}));
    for (std::thread::id id : client.threads) {
        EXPECT_NE(id, std::this_thread::get_id());
        EXPECT_EQ(id, client.threads[0]);
    }
}

TEST(ThreadedMidiStream, StopSilencesAndReturnsEverythingQueued) {
    RecordingLog played;
    Client client;
    ThreadedMidiStream stream(recording(played, systemStreamClock()));
    ASSERT_EQ(stream.open(&client), music::kStreamOk);
    ASSERT_EQ(stream.setTimeDivision(96), music::kStreamOk);
    // One note now, the rest an hour away.
    Buffer a({{0, 0, note(60)}, {96 * 7200, 0, note(61)}});
    Buffer b({{0, 0, note(62)}});
    for (Buffer* x : {&a, &b}) {
        stream.prepareHeader(x->header);
        stream.out(x->header);
    }
    stream.restart();
    ASSERT_TRUE(played.waitFor(1));
    ASSERT_EQ(stream.stop(), music::kStreamOk);
    ASSERT_TRUE(client.waitForDone(2));
    {
        std::lock_guard<std::mutex> lock(client.mutex);
        EXPECT_EQ(client.done, (std::vector<StreamHeader*>{&a.header, &b.header}));
    }
    std::vector<test::Played> p = played.played();
    ASSERT_EQ(p.size(), 2u);
    EXPECT_EQ(p[1].message, 0u) << "the stop silenced the synthesizer";
    EXPECT_EQ(stream.close(), music::kStreamOk);
}

TEST(ThreadedMidiStream, RefusesWhatTheDeviceWouldRefuse) {
    RecordingLog played;
    Client client;
    ThreadedMidiStream none([]() -> std::unique_ptr<Synthesizer> { return nullptr; });
    EXPECT_EQ(none.open(&client), music::kStreamNoDriver);
    EXPECT_EQ(none.restart(), music::kStreamInvalidHandle);

    ThreadedMidiStream stream(recording(played, systemStreamClock()));
    Buffer a({{0, 0, note(60)}});
    EXPECT_EQ(stream.out(a.header), music::kStreamInvalidHandle);
    ASSERT_EQ(stream.open(&client), music::kStreamOk);
    EXPECT_EQ(stream.open(&client), 4) << "one client at a time";
    EXPECT_EQ(stream.setTimeDivision(0), music::kStreamInvalidParam);
    EXPECT_EQ(stream.out(a.header), music::kStreamUnprepared);
    ASSERT_EQ(stream.prepareHeader(a.header), music::kStreamOk);
    a.header.bytesRecorded = 2000;
    EXPECT_EQ(stream.out(a.header), music::kStreamInvalidParam);
    EXPECT_EQ(stream.close(), music::kStreamOk);
    EXPECT_EQ(stream.close(), music::kStreamInvalidHandle);
}

TEST(ThreadedMidiStream, AReopenKeepsTheSynthesizerAndACloseSilencesIt) {
    RecordingLog played;
    Client client;
    int made = 0;
    ThreadedMidiStream stream([&]() -> std::unique_ptr<Synthesizer> {
        ++made;
        return std::make_unique<RecordingSynthesizer>(played, systemStreamClock());
    });
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        ASSERT_EQ(stream.open(&client), music::kStreamOk);
        ASSERT_EQ(stream.close(), music::kStreamOk);
        ASSERT_EQ(played.played().size(), size_t(round + 1));
        EXPECT_EQ(played.played().back().message, 0u);
    }
    // A WAV file or an audio output opened once is never started over.
    EXPECT_EQ(made, 1);
}

}  // namespace
}  // namespace quell::platform
