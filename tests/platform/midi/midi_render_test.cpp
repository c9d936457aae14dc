// End to end: quellkit renders a short song through the player, the stream
// service and FluidSynth's file driver; sox, run as a black box, says how
// long and how loud the WAV file is.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/os/file_system.h"
#include "smf_builder.h"

namespace {

namespace fs = std::filesystem;

std::string run(const std::string& command, int* status = nullptr) {
    std::string out;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return out;
    char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) out.append(chunk, got);
    int rc = ::pclose(pipe);
    if (status) *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    return out;
}

double statField(const std::string& stat, const std::string& name) {
    size_t at = stat.find(name);
    if (at == std::string::npos) return -1;
    at = stat.find(':', at);
    return std::stod(stat.substr(at + 1));
}

// Eight eighth notes at the default 500,000 us a quarter: exactly 2 s, with
// one tempo change that halves the speed of the last two (so 2.5 s in all).
std::vector<uint8_t> song() {
    quell::music::test::TrackBuilder track;
    track.event(0, {0xC0, 0});
    for (uint8_t i = 0; i < 8; ++i) {
        if (i == 6) track.tempo(0, 1000000);
        track.event(0, {0x90, uint8_t(60 + i), 110}).event(48, {0x80, uint8_t(60 + i), 0});
    }
    return quell::music::test::smfFile({track.endOfTrack()}, 96, 0);
}

struct TempDir {
    TempDir() {
        char pattern[] = "/tmp/quell-render-XXXXXX";
        path = ::mkdtemp(pattern);
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    std::string path;
};

TEST(MidiRender, AShortSongBecomesAWavFileAsLongAsTheSongAndNotSilent) {
    if (!quell::os::isRegularFile("/usr/share/sounds/sf2/FluidR3_GM.sf2")) GTEST_SKIP() << "no soundfont";
    if (run("command -v sox").empty()) GTEST_SKIP() << "sox is not installed";
    TempDir dir;
    const std::string mid = dir.path + "/song.mid";
    const std::string wav = dir.path + "/song.wav";
    std::vector<uint8_t> bytes = song();
    std::ofstream(mid, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));

    int status = -1;
    std::string output = run(std::string(QUELLKIT_PATH) + " midi render " + mid + " " + wav, &status);
    ASSERT_EQ(status, 0) << output;
    std::string stat = run("sox " + wav + " -n stat");
    double seconds = statField(stat, "Length (seconds)");
    double rms = statField(stat, "RMS     amplitude");
    EXPECT_GE(seconds, 2.5) << stat;
    EXPECT_LE(seconds, 2.9) << stat;
    EXPECT_GT(rms, 0.002) << stat;
    // The notes sound where the song has them: the first half second is not silent.
    std::string head = run("sox " + wav + " -n trim 0 0.5 stat");
    EXPECT_GT(statField(head, "RMS     amplitude"), 0.002) << head;
}

TEST(MidiRender, ABrokenFileIsAnError) {
    TempDir dir;
    const std::string mid = dir.path + "/broken.mid";
    std::ofstream(mid) << "MThd but not really";
    int status = -1;
    std::string output = run(std::string(QUELLKIT_PATH) + " midi render " + mid + " " + dir.path + "/x.wav", &status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(output.rfind("error: ", 0), 0u) << output;
    EXPECT_FALSE(fs::exists(dir.path + "/x.wav"));
}

}  // namespace
