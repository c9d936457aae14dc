// How late the MIDI stream service plays the events of a dense song, and how
// much CPU a second of music costs, beside FluidSynth's own file player
// rendering the same song. QUELL_BENCH_MUSIC_SECONDS sets the song length
// (default 2). Run the long version under nice -n 19.
//
// Loading the soundfont costs the same in both and is left out of both: the
// service's synthesizer is opened before its CPU time is taken, and the file
// player's time for a song without notes is taken from its time for the
// song. An event's lateness is how far after its time the service plays it:
// at its place in the audio where a synthesizer renders in periods, at the
// moment it is sent otherwise.
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
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/music/midi_stream_player.h"
#include "core/music/smf_reader.h"
#include "core/music/stream_filler.h"
#include "platform/midi/fluid_synthesizer.h"
#include "platform/midi/period_synthesizer.h"
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
    stream.setDispatchProbe([&](int64_t ideal, int64_t actual) {
        std::lock_guard<std::mutex> lock(lateMutex);
        lateness.push_back(double(actual - ideal));
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

// Plays the song on a stream over the synthesizer made (before the CPU time
// is taken) for each iteration.
template <typename MakeSynth>
void serviceBenchmark(benchmark::State& state, MakeSynth make) {
    size_t events = 0;
    std::vector<uint8_t> song = denseSong(songSeconds(), &events);
    std::vector<double> all;
    double cpu = 0, music = 0;
    for (auto _ : state) {
        std::shared_ptr<std::unique_ptr<quell::platform::Synthesizer>> synth =
            std::make_shared<std::unique_ptr<quell::platform::Synthesizer>>(make());
        if (!*synth) {
            state.SkipWithError("no synthesizer");
            return;
        }
        quell::platform::ThreadedMidiStream stream(
            [synth]() -> std::unique_ptr<quell::platform::Synthesizer> { return std::move(*synth); });
        double before = processCpu();
        std::vector<double> late = playOnce(song, stream);
        cpu += processCpu() - before;
        music += songSeconds();
        all.insert(all.end(), late.begin(), late.end());
    }
    reportLateness(state, all, cpu, music, events);
}

// The service alone: periods rendered into nothing, as the FluidSynth path
// renders them into sound.
void BM_ServiceLatenessNullSynth(benchmark::State& state) {
    serviceBenchmark(state, [] {
        return std::make_unique<quell::platform::PeriodSynthesizer>(std::make_unique<quell::platform::NullRenderer>());
    });
}
BENCHMARK(BM_ServiceLatenessNullSynth)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The scheduler thread that wakes for each event, which plays synthesizers
// without a render thread of their own.
void BM_ServiceEventTimedNullSynth(benchmark::State& state) {
    serviceBenchmark(state, [] { return std::make_unique<NullSynthesizer>(); });
}
BENCHMARK(BM_ServiceEventTimedNullSynth)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The real thing: FluidSynth synthesizing into a WAV file in real time.
void BM_ServiceFluidSynthRender(benchmark::State& state) {
    if (access(kSoundfont, R_OK) != 0) {
        state.SkipWithError("no soundfont");
        return;
    }
    std::string wav = "/tmp/quell-bench-service-" + std::to_string(getpid()) + ".wav";
    serviceBenchmark(state, [&wav] {
        quell::platform::FluidSynthesizerOptions options;
        options.wavPath = wav;
        return quell::platform::FluidSynthesizer::open(options);
    });
    unlink(wav.c_str());
}
BENCHMARK(BM_ServiceFluidSynthRender)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The CPU time of FluidSynth's own player rendering the file at path as fast
// as it can, or a negative number when it cannot run.
double filePlayerCpu(const std::string& path, const std::string& wav) {
    const char* argv[] = {"fluidsynth", "-ni", "-q", "-F", wav.c_str(), kSoundfont, path.c_str(), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, "/usr/bin/fluidsynth", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) return -1;
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? cpuSeconds(usage) : -1;
}

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// FluidSynth's own player rendering the same file as fast as it can, less
// what it spends on a song without notes (the soundfont's load).
void BM_FluidSynthFilePlayer(benchmark::State& state) {
    if (access(kSoundfont, R_OK) != 0 || access("/usr/bin/fluidsynth", X_OK) != 0) {
        state.SkipWithError("no fluidsynth or soundfont");
        return;
    }
    std::string base = "/tmp/quell-bench-fluid-" + std::to_string(getpid());
    std::string mid = base + ".mid", empty = base + "-empty.mid", wav = base + ".wav";
    writeFile(mid, denseSong(songSeconds(), nullptr));
    writeFile(empty, {'M',  'T', 'h', 'd', 0,   0, 0, 6, 0, 0, 0,    1,    0x01,
                      0xE0, 'M', 'T', 'r', 'k', 0, 0, 0, 4, 0, 0xFF, 0x2F, 0x00});
    double cpu = 0, music = 0;
    for (auto _ : state) {
        double whole = filePlayerCpu(mid, wav);
        double load = filePlayerCpu(empty, wav);
        if (whole < 0 || load < 0) {
            state.SkipWithError("cannot run fluidsynth");
            break;
        }
        cpu += std::max(0.0, whole - load);
        music += songSeconds();
    }
    unlink(mid.c_str());
    unlink(empty.c_str());
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
