// How late the MIDI stream service plays the events of a dense song, and how
// much CPU a second of music costs, beside FluidSynth's own file player
// rendering the same song. QUELL_BENCH_MUSIC_SECONDS sets the song length
// (default 2). Run the long version under nice -n 19.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "core/music/midi_stream_player.h"
#include "core/music/smf_reader.h"
#include "core/music/stream_filler.h"
#include "platform/midi/fluid_synthesizer.h"
#include "platform/midi/threaded_midi_stream.h"

extern char** environ;

namespace {

const char* const kSoundfont = "/usr/share/sounds/sf2/FluidR3_GM.sf2";

double songSeconds() {
    const char* text = std::getenv("QUELL_BENCH_MUSIC_SECONDS");
    double s = text ? std::atof(text) : 2.0;
    return s > 0.1 ? s : 2.0;
}

void putVarLen(std::vector<uint8_t>& out, uint32_t v) {
    std::vector<uint8_t> groups{uint8_t(v & 0x7F)};
    while (v >>= 7) groups.insert(groups.begin(), uint8_t(0x80 | (v & 0x7F)));
    out.insert(out.end(), groups.begin(), groups.end());
}

// 480 ticks a quarter at 500,000 us: 960 ticks a second. Every 4 ticks five
// channels each end one note and start the next: 2,400 events a second, with
// a volume change per channel every half second.
std::vector<uint8_t> denseSong(double seconds, size_t* eventCount) {
    std::vector<uint8_t> ev;
    const int steps = int(seconds * 240);
    size_t events = 0;
    for (int step = 0; step < steps; ++step) {
        for (int ch = 0; ch < 5; ++ch) {
            uint8_t key = uint8_t(48 + (step * 7 + ch * 5) % 36);
            uint8_t previous = uint8_t(48 + ((step - 1) * 7 + ch * 5) % 36);
            putVarLen(ev, (ch == 0 && step > 0) ? 4 : 0);
            if (step > 0) {
                ev.insert(ev.end(), {uint8_t(0x80 | ch), previous, 0});
                putVarLen(ev, 0);
                ++events;
            }
            ev.insert(ev.end(), {uint8_t(0x90 | ch), key, 90});
            ++events;
            if (step % 120 == 0) {
                putVarLen(ev, 0);
                ev.insert(ev.end(), {uint8_t(0xB0 | ch), 7, uint8_t(80 + step % 40)});
                ++events;
            }
        }
    }
    putVarLen(ev, 4);
    ev.insert(ev.end(), {0xFF, 0x2F, 0x00});
    std::vector<uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0, 'M', 'T', 'r', 'k'};
    uint32_t n = uint32_t(ev.size());
    file.insert(file.end(), {uint8_t(n >> 24), uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n)});
    file.insert(file.end(), ev.begin(), ev.end());
    if (eventCount) *eventCount = events;
    return file;
}

double cpuSeconds(const rusage& r) {
    return double(r.ru_utime.tv_sec + r.ru_stime.tv_sec) + double(r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
}

double processCpu() {
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return cpuSeconds(r);
}

class NullSynthesizer final : public quell::platform::Synthesizer {
public:
    void shortMessage(uint8_t, uint8_t, uint8_t) override {}
    void silence() override {}
};

struct Ended {
    std::mutex mutex;
    std::condition_variable cv;
    bool ended = false;
};

// Plays the song once through the player and the threaded stream and
// collects every event's lateness in microseconds.
std::vector<double> playOnce(const std::vector<uint8_t>& song, quell::platform::ThreadedMidiStream& stream) {
    std::vector<double> lateness;
    lateness.reserve(100000);
    std::mutex lateMutex;
    stream.setDispatchProbe([&](int64_t ideal, int64_t) {
        int64_t now =
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
                .count();
        std::lock_guard<std::mutex> lock(lateMutex);
        lateness.push_back(double(now - ideal));
    });
    Ended end;
    {
        quell::music::MidiStreamPlayer player(stream, [&end](std::function<void()>) {
            std::lock_guard<std::mutex> lock(end.mutex);
            end.ended = true;
            end.cv.notify_all();
        });
        if (!player.Load(song.data(), song.size()) || !player.Play(false)) return {};
        std::unique_lock<std::mutex> lock(end.mutex);
        end.cv.wait_for(lock, std::chrono::duration<double>(songSeconds() + 10), [&] { return end.ended; });
        lock.unlock();
        player.Release();
    }
    stream.setDispatchProbe({});
    return lateness;
}

double percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    size_t at = std::min(v.size() - 1, size_t(p * double(v.size() - 1) + 0.5));
    return v[at];
}

void reportLateness(benchmark::State& state, const std::vector<double>& all, double cpu, double music, size_t events) {
    state.counters["late_median_us"] = percentile(all, 0.5);
    state.counters["late_p99_us"] = percentile(all, 0.99);
    state.counters["late_max_us"] = percentile(all, 1.0);
    state.counters["events_per_s"] = double(events) / songSeconds();
    state.counters["cpu_ms_per_music_s"] = music > 0 ? cpu * 1000.0 / music : 0;
}

// The scheduler alone: a synthesizer that does nothing.
void BM_ServiceLatenessNullSynth(benchmark::State& state) {
    size_t events = 0;
    std::vector<uint8_t> song = denseSong(songSeconds(), &events);
    std::vector<double> all;
    double cpu = 0, music = 0;
    for (auto _ : state) {
        quell::platform::ThreadedMidiStream stream(
            []() -> std::unique_ptr<quell::platform::Synthesizer> { return std::make_unique<NullSynthesizer>(); });
        double before = processCpu();
        std::vector<double> late = playOnce(song, stream);
        cpu += processCpu() - before;
        music += songSeconds();
        all.insert(all.end(), late.begin(), late.end());
    }
    reportLateness(state, all, cpu, music, events);
}
BENCHMARK(BM_ServiceLatenessNullSynth)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The real thing: FluidSynth synthesizing into a WAV file in real time.
void BM_ServiceFluidSynthRender(benchmark::State& state) {
    if (access(kSoundfont, R_OK) != 0) {
        state.SkipWithError("no soundfont");
        return;
    }
    size_t events = 0;
    std::vector<uint8_t> song = denseSong(songSeconds(), &events);
    std::string wav = "/tmp/quell-bench-service-" + std::to_string(getpid()) + ".wav";
    std::vector<double> all;
    double cpu = 0, music = 0;
    for (auto _ : state) {
        quell::platform::FluidSynthesizerOptions options;
        options.wavPath = wav;
        quell::platform::ThreadedMidiStream stream([options]() -> std::unique_ptr<quell::platform::Synthesizer> {
            return quell::platform::FluidSynthesizer::open(options);
        });
        double before = processCpu();
        std::vector<double> late = playOnce(song, stream);
        cpu += processCpu() - before;
        music += songSeconds();
        all.insert(all.end(), late.begin(), late.end());
    }
    unlink(wav.c_str());
    reportLateness(state, all, cpu, music, events);
}
BENCHMARK(BM_ServiceFluidSynthRender)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// FluidSynth's own player rendering the same file as fast as it can.
void BM_FluidSynthFilePlayer(benchmark::State& state) {
    if (access(kSoundfont, R_OK) != 0 || access("/usr/bin/fluidsynth", X_OK) != 0) {
        state.SkipWithError("no fluidsynth or soundfont");
        return;
    }
    std::vector<uint8_t> song = denseSong(songSeconds(), nullptr);
    std::string base = "/tmp/quell-bench-fluid-" + std::to_string(getpid());
    std::string mid = base + ".mid", wav = base + ".wav";
    std::ofstream(mid, std::ios::binary)
        .write(reinterpret_cast<const char*>(song.data()), std::streamsize(song.size()));
    double cpu = 0, music = 0;
    for (auto _ : state) {
        const char* argv[] = {"fluidsynth", "-ni", "-q", "-F", wav.c_str(), kSoundfont, mid.c_str(), nullptr};
        pid_t pid = 0;
        if (posix_spawn(&pid, "/usr/bin/fluidsynth", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
            state.SkipWithError("cannot start fluidsynth");
            break;
        }
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        cpu += cpuSeconds(usage);
        music += songSeconds();
    }
    unlink(mid.c_str());
    unlink(wav.c_str());
    state.counters["cpu_ms_per_music_s"] = music > 0 ? cpu * 1000.0 / music : 0;
}
BENCHMARK(BM_FluidSynthFilePlayer)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The filler alone, which runs on the notification thread for each buffer.
void BM_FillDenseSong(benchmark::State& state) {
    size_t events = 0;
    std::vector<uint8_t> song = denseSong(songSeconds(), &events);
    uint8_t block[quell::music::kStreamBufferSize];
    for (auto _ : state) {
        quell::music::SmfReader reader;
        reader.Load(song.data(), song.size());
        quell::music::StreamFiller filler(reader);
        quell::music::StreamBuffer buffer;
        buffer.data = block;
        int result = 0;
        for (bool first = true; result == 0; first = false) {
            buffer.resetFill();
            result = filler.FillBuffer(buffer, first);
        }
        benchmark::DoNotOptimize(result);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(events));
}
BENCHMARK(BM_FillDenseSong);

}  // namespace

BENCHMARK_MAIN();
