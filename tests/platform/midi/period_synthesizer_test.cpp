#include "platform/midi/period_synthesizer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "core/music/stream_event.h"
#include "platform/midi/threaded_midi_stream.h"
#include "recording_synthesizer.h"

namespace quell::platform {
namespace {

using music::StreamHeader;
using test::Buffer;
using test::ManualClock;
using test::note;
using test::Played;
using test::RecordingLog;

// One frame a millisecond in blocks of four; writes down the frame at which
// each message arrives.
class RecordingRenderer final : public Renderer {
public:
    explicit RecordingRenderer(RecordingLog& log) : m_log(log) {}
    RenderFormat format() const override { return {1000, 4}; }
    void shortMessage(uint8_t status, uint8_t d1, uint8_t d2) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_log.add({m_frames, uint32_t(status) | (uint32_t(d1) << 8) | (uint32_t(d2) << 16)});
    }
    void silence() override {}
    void render(int frames) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_frames += frames;
    }

private:
    RecordingLog& m_log;
    std::mutex m_mutex;
    int64_t m_frames = 0;
};

// Queues buffer a once more, with new events, when it first comes back, and
// writes down the thread of every notification.
struct RequeueingClient : music::MidiStreamClient {
    music::MidiStream* stream = nullptr;
    Buffer* a = nullptr;
    std::vector<music::StreamEvent> again;
    bool requeued = false;
    std::mutex mutex;
    std::vector<std::thread::id> threads;

    void note(std::thread::id id) {
        std::lock_guard<std::mutex> lock(mutex);
        threads.push_back(id);
    }
    void onStreamOpened() override { note(std::this_thread::get_id()); }
    void onStreamClosed() override { note(std::this_thread::get_id()); }
    void onStreamPosition(StreamHeader&, uint32_t) override {}
    void onStreamBufferDone(StreamHeader& h) override {
        note(std::this_thread::get_id());
        if (&h != &a->header || requeued) return;
        requeued = true;
        a->fill(again);
        stream->out(a->header);
    }
};

TEST(PeriodSynthesizer, PlaysEventsAtTheirBlocksAndRequeuesInsideThePeriod) {
    ManualClock clock;
    RecordingLog played;
    RequeueingClient client;
    ThreadedMidiStream stream(
        [&]() -> std::unique_ptr<Synthesizer> {
            return std::make_unique<PeriodSynthesizer>(std::make_unique<RecordingRenderer>(played), clock, 32);
        },
        clock);
    Buffer a, b;
    // 500 ticks a quarter at the default tempo: a tick is a millisecond, a frame.
    a.fill({{100, 0, note(60)}});
    b.fill({{50, 0, note(61)}});
    client.stream = &stream;
    client.a = &a;
    client.again = {{5, 0, note(62)}};
    ASSERT_EQ(stream.open(&client), music::kStreamOk);
    ASSERT_EQ(stream.setTimeDivision(500), music::kStreamOk);
    for (Buffer* x : {&a, &b}) {
        ASSERT_EQ(stream.prepareHeader(x->header), music::kStreamOk);
        ASSERT_EQ(stream.out(x->header), music::kStreamOk);
    }
    ASSERT_EQ(stream.restart(), music::kStreamOk);

    // Periods of 32 ms up to the one from 128 to 160 ms. The buffer handed back
    // at 100 ms comes back with a note at 155 ms, in that last period: only a
    // requeue inside the period it was handed back in reaches it.
    clock.advanceTo(128'000);
    ASSERT_TRUE(played.waitFor(3));
    std::vector<Played> p = played.played();
    ASSERT_EQ(p.size(), 3u);
    const int64_t frames[] = {100, 152, 156};  // 100, 150 and 155 ms, each up to a block of four
    const uint32_t messages[] = {note(60), note(61), note(62)};
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(p[i].time, frames[i]);
        EXPECT_EQ(p[i].message, messages[i]);
    }

    // The close notice too comes from the render thread, which runs as the
    // clock moves on.
    std::future<int> closed = std::async(std::launch::async, [&] {
        stream.stop();
        return stream.close();
    });
    for (int64_t t = 160'000; closed.wait_for(std::chrono::milliseconds(2)) != std::future_status::ready; t += 32'000)
        clock.advanceTo(t);
    EXPECT_EQ(closed.get(), music::kStreamOk);
    std::lock_guard<std::mutex> lock(client.mutex);
    ASSERT_EQ(client.threads.size(), 5u) << "open, three buffers back, close";
    for (std::thread::id id : client.threads) {
        EXPECT_NE(id, std::this_thread::get_id());
        EXPECT_EQ(id, client.threads[0]);
    }
}

TEST(RenderTimeline, PeriodsFollowEachOtherUntilTheOutputDrifts) {
    RenderTimeline timeline(1000, 10'000);
    struct Case {
        int64_t now;
        int64_t start;
    };
    // 32-frame periods: 32 ms each.
    const Case cases[] = {
        {5'000, 5'000},      // the first period starts at the present
        {36'000, 37'000},    // asked for early: the audio goes on from the last period
        {75'000, 69'000},    // late, but within the drift allowed
        {200'000, 200'000},  // stalled: starts again at the present
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.now);
        EXPECT_EQ(timeline.begin(c.now, 32), c.start);
    }
}

}  // namespace
}  // namespace quell::platform
