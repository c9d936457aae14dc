// Extraction throughput: our MSZIP and Quantum decoders against cabextract
// on the same cabinets (Quantum with windows of 2^15 and 2^21 bytes), and our
// MSZIP decoder against zlib's inflate on the same deflate streams. After the
// benchmark table it prints one tab-separated row per figure: the figure, our
// time, the yardstick's, the speed ratio (yardstick time over ours), the
// target and whether it is met. Each time is the median over the
// repetitions; run with --benchmark_repetitions and
// --benchmark_enable_random_interleaving to take it from interleaved runs.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cab_mszip_encoder.h"
#include "cab_writer.h"
#include "core/cabinet/extract_cabinet.h"
#include "core/cabinet/mszip_decoder.h"
#include "support/test_encoders.h"
#include "support/test_files.h"

namespace {

struct Data {
    std::unique_ptr<cabtest::TempFolder> folder;
    std::string mszipCab, quantum15Cab, quantum21Cab;
    std::vector<std::vector<uint8_t>> streams;  // MSZIP block streams, "CK" included
    size_t mszipBytes = 0, quantumBytes = 0;
    bool haveCabextract = false;
};

Data g;

std::vector<quellkit::cab::WriterFile> mixedFiles(size_t megabytes, uint32_t seed) {
    std::vector<quellkit::cab::WriterFile> files;
    for (size_t i = 0; i < megabytes; ++i) {
        quellkit::cab::WriterFile f;
        const bool text = i % 2 == 0;
        f.name = (text ? "text" : "image") + std::to_string(i) + (text ? ".ini" : ".bmp");
        f.data = text ? cabtest::textData(1 << 20, seed + static_cast<uint32_t>(i))
                      : cabtest::bitmapData(1 << 20, seed + static_cast<uint32_t>(i));
        files.push_back(std::move(f));
    }
    return files;
}

void prepare() {
    const char* env = std::getenv("QUELL_BENCH_MB");
    const size_t mb = env ? std::max(1, std::atoi(env)) : 2;
    g.folder = std::make_unique<cabtest::TempFolder>();
    g.haveCabextract = cabtest::haveTool("cabextract");

    auto files = mixedFiles(mb, 1);
    for (const auto& f : files) g.mszipBytes += f.data.size();
    quellkit::cab::MszipEncoder blocks(6);
    {
        std::vector<uint8_t> all;
        for (const auto& f : files) all.insert(all.end(), f.data.begin(), f.data.end());
        for (size_t at = 0; at < all.size(); at += 32768)
            g.streams.push_back(blocks.encode({all.data() + at, std::min<size_t>(32768, all.size() - at)}));
    }
    g.mszipCab = *g.folder / "mszip.cab";
    cabtest::writeBytes(g.mszipCab, quellkit::cab::WriteCabinet({quellkit::cab::WriterFolder{
                                        std::make_shared<quellkit::cab::MszipEncoder>(6), files}}));

    auto qfiles = mixedFiles(mb, 100);
    for (const auto& f : qfiles) g.quantumBytes += f.data.size();
    g.quantum15Cab = *g.folder / "quantum15.cab";
    cabtest::writeBytes(g.quantum15Cab, quellkit::cab::WriteCabinet({quellkit::cab::WriterFolder{
                                            std::make_shared<cabtest::QuantumTestEncoder>(15), qfiles}}));
    g.quantum21Cab = *g.folder / "quantum21.cab";
    cabtest::writeBytes(g.quantum21Cab, quellkit::cab::WriteCabinet({quellkit::cab::WriterFolder{
                                            std::make_shared<cabtest::QuantumTestEncoder>(21), qfiles}}));
    std::filesystem::create_directory(*g.folder / "out");
}

void extractOurs(benchmark::State& state, const std::string& cab, size_t bytes) {
    for (auto _ : state)
        if (!quell::cabinet::ExtractCabinet(cab, *g.folder / "out/")) state.SkipWithError("extraction failed");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void extractCabextract(benchmark::State& state, const std::string& cab, size_t bytes) {
    if (!g.haveCabextract) {
        state.SkipWithError("cabextract not installed");
        return;
    }
    const std::string command = "cabextract -q -d '" + g.folder->path() + "out' '" + cab + "' >/dev/null 2>&1";
    for (auto _ : state)
        if (cabtest::runCommand(command) != 0) state.SkipWithError("cabextract failed");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void BM_MszipOursExtract(benchmark::State& s) { extractOurs(s, g.mszipCab, g.mszipBytes); }
void BM_MszipCabextract(benchmark::State& s) { extractCabextract(s, g.mszipCab, g.mszipBytes); }
void BM_Quantum15OursExtract(benchmark::State& s) { extractOurs(s, g.quantum15Cab, g.quantumBytes); }
void BM_Quantum15Cabextract(benchmark::State& s) { extractCabextract(s, g.quantum15Cab, g.quantumBytes); }
void BM_Quantum21OursExtract(benchmark::State& s) { extractOurs(s, g.quantum21Cab, g.quantumBytes); }
void BM_Quantum21Cabextract(benchmark::State& s) { extractCabextract(s, g.quantum21Cab, g.quantumBytes); }

void BM_MszipOursDecode(benchmark::State& state) {
    using namespace quell::cabinet;
    MszipDecoder* d = nullptr;
    CreateMszipDecoder(0, {std::malloc, std::free}, &d, nullptr);
    std::vector<uint8_t> out(32768);
    for (auto _ : state) {
        ResetMszipDecoder(d);
        for (const auto& s : g.streams) {
            size_t produced = 0;
            if (MszipDecompress(d, s, out, &produced) != 0) state.SkipWithError("decode failed");
            benchmark::DoNotOptimize(out.data());
        }
    }
    DestroyMszipDecoder(d);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * g.mszipBytes));
}

void BM_MszipZlibInflate(benchmark::State& state) {
    std::vector<uint8_t> out(32768), previous;
    for (auto _ : state) {
        previous.clear();
        for (const auto& s : g.streams) {
            z_stream z{};
            inflateInit2(&z, -15);
            if (!previous.empty()) inflateSetDictionary(&z, previous.data(), static_cast<uInt>(previous.size()));
            z.next_in = const_cast<Bytef*>(s.data() + 2);
            z.avail_in = static_cast<uInt>(s.size() - 2);
            z.next_out = out.data();
            z.avail_out = static_cast<uInt>(out.size());
            if (inflate(&z, Z_FINISH) != Z_STREAM_END) state.SkipWithError("inflate failed");
            previous.assign(out.begin(), out.begin() + static_cast<long>(z.total_out));
            inflateEnd(&z);
            benchmark::DoNotOptimize(out.data());
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * g.mszipBytes));
}

// Keeps the wall and CPU time per iteration of every repetition of every
// benchmark, by benchmark name, for the figures.
class FigureReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, std::vector<double>> seconds;
    std::map<std::string, std::vector<double>> cpuSeconds;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration && !r.error_occurred && r.iterations > 0) {
                const std::string& name = r.run_name.function_name;
                seconds[name].push_back(r.real_accumulated_time / static_cast<double>(r.iterations));
                cpuSeconds[name].push_back(r.cpu_accumulated_time / static_cast<double>(r.iterations));
            }
        ConsoleReporter::ReportRuns(runs);
    }
};

// The median, or a negative number for a benchmark that did not run.
double median(const std::map<std::string, std::vector<double>>& times, const std::string& name) {
    auto i = times.find(name);
    if (i == times.end() || i->second.empty()) return -1;
    std::vector<double> t = i->second;
    std::sort(t.begin(), t.end());
    const size_t n = t.size();
    return n % 2 ? t[n / 2] : (t[n / 2 - 1] + t[n / 2]) / 2;
}

// One row: the figure, both times in milliseconds, yardstick time over ours,
// the target for that ratio and whether the ratio reaches it.
void printFigure(const char* figure, double ours, double yardstick, double target) {
    if (ours <= 0 || yardstick <= 0) {
        std::printf("%s\tn/a\tn/a\tn/a\t>= %.2f\tno\n", figure, target);
        return;
    }
    const double ratio = yardstick / ours;
    std::printf("%s\t%.2f ms\t%.2f ms\t%.2f\t>= %.2f\t%s\n", figure, ours * 1e3, yardstick * 1e3, ratio, target,
                ratio >= target ? "yes" : "no");
}

}  // namespace

BENCHMARK(BM_MszipOursExtract)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MszipCabextract)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MszipOursDecode)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MszipZlibInflate)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Quantum15OursExtract)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Quantum15Cabextract)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Quantum21OursExtract)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Quantum21Cabextract)->UseRealTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    prepare();
    std::printf("cabinets: MSZIP %zu bytes of files, Quantum %zu bytes of files\n", g.mszipBytes, g.quantumBytes);
    FigureReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto wall = [&](const char* name) { return median(reporter.seconds, name); };
    auto cpu = [&](const char* name) { return median(reporter.cpuSeconds, name); };
    std::printf("\nfigures (median times; ratio is the yardstick's time over ours):\n");
    printFigure("Quantum w15 speed vs cabextract", wall("BM_Quantum15OursExtract"), wall("BM_Quantum15Cabextract"),
                1.2);
    printFigure("Quantum w21 speed vs cabextract", wall("BM_Quantum21OursExtract"), wall("BM_Quantum21Cabextract"),
                1.2);
    printFigure("MSZIP speed vs cabextract", wall("BM_MszipOursExtract"), wall("BM_MszipCabextract"), 1.0);
    // Both sides of this one run in this process, so their CPU times compare
    // fairly even on a busy machine.
    printFigure("MSZIP decode vs zlib inflate", cpu("BM_MszipOursDecode"), cpu("BM_MszipZlibInflate"), 0.67);
    g.folder.reset();
    return 0;
}
