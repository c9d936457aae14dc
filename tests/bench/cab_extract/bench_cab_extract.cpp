// Extraction throughput: our MSZIP and Quantum decoders against cabextract
// on the same cabinets, and our MSZIP decoder against zlib's inflate on the
// same deflate streams. Prints the ratios after the benchmark table.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "cab_mszip_encoder.h"
#include "cab_writer.h"
#include "core/cabinet/extract_cabinet.h"
#include "core/cabinet/mszip_decoder.h"
#include "support/test_encoders.h"
#include "support/test_files.h"

namespace {

struct Data {
    std::unique_ptr<cabtest::TempFolder> folder;
    std::string mszipCab, quantumCab;
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
    g.quantumCab = *g.folder / "quantum.cab";
    cabtest::writeBytes(g.quantumCab, quellkit::cab::WriteCabinet({quellkit::cab::WriterFolder{
                                          std::make_shared<cabtest::QuantumTestEncoder>(16), qfiles}}));
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
void BM_QuantumOursExtract(benchmark::State& s) { extractOurs(s, g.quantumCab, g.quantumBytes); }
void BM_QuantumCabextract(benchmark::State& s) { extractCabextract(s, g.quantumCab, g.quantumBytes); }

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

// Keeps each run's wall time per benchmark for the ratio table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> seconds;
    std::map<std::string, double> cpuSeconds;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs)
            if (!r.error_occurred && r.iterations > 0) {
                seconds[r.benchmark_name()] = r.real_accumulated_time / static_cast<double>(r.iterations);
                cpuSeconds[r.benchmark_name()] = r.cpu_accumulated_time / static_cast<double>(r.iterations);
            }
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

BENCHMARK(BM_MszipOursExtract)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MszipCabextract)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MszipOursDecode)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MszipZlibInflate)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuantumOursExtract)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuantumCabextract)->UseRealTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    prepare();
    std::printf("cabinets: MSZIP %zu bytes of files, Quantum %zu bytes of files\n", g.mszipBytes, g.quantumBytes);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto ratio = [&](const char* a, const char* b) {
        auto i = reporter.seconds.find(a), j = reporter.seconds.find(b);
        if (i == reporter.seconds.end() || j == reporter.seconds.end()) return;
        std::printf("%-40s %6.3f  (%s / %s; below 1 means ours is faster)\n", (std::string(a) + " vs " + b).c_str(),
                    i->second / j->second, a, b);
    };
    std::printf("\nratios of wall time per run:\n");
    ratio("BM_MszipOursExtract/real_time", "BM_MszipCabextract/real_time");
    ratio("BM_MszipOursDecode/real_time", "BM_MszipZlibInflate/real_time");
    ratio("BM_QuantumOursExtract/real_time", "BM_QuantumCabextract/real_time");
    // Both sides of this one run in this process, so their CPU times compare
    // fairly even on a busy machine.
    auto i = reporter.cpuSeconds.find("BM_MszipOursDecode/real_time");
    auto j = reporter.cpuSeconds.find("BM_MszipZlibInflate/real_time");
    if (i != reporter.cpuSeconds.end() && j != reporter.cpuSeconds.end())
        std::printf("%-40s %6.3f  (CPU time)\n", "MSZIP decode vs zlib inflate", i->second / j->second);
    g.folder.reset();
    return 0;
}
