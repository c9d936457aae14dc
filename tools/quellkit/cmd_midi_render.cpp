// quellkit midi render FILE OUT.wav: the song played once by the real player
// and stream service, with FluidSynth writing the WAV file in real time.
#include "cmd_midi_render.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

#include "commands.h"
#include "core/music/midi_stream_player.h"
#include "core/music/smf_reader.h"
#include "core/os/file_system.h"
#include "platform/midi/fluid_synthesizer.h"
#include "platform/midi/system_midi_stream.h"

namespace quellkit {

namespace {

class RenderPlayer final : public quell::music::MidiStreamPlayer {
public:
    using MidiStreamPlayer::MidiStreamPlayer;
    ~RenderPlayer() override { Release(); }
    void ReportDiagnostic(size_t track, const char* text) override {
        std::fprintf(stderr, "note: track %zu: %s\n", track, text);
    }
};

// Set from the notification thread when the song has been played out.
struct EndSignal {
    std::mutex mutex;
    std::condition_variable cv;
    bool ended = false;
    void raise() {
        std::lock_guard<std::mutex> lock(mutex);
        ended = true;
        cv.notify_all();
    }
};

}  // namespace

namespace {
constexpr int kReleaseTailMs = 200;
}

int renderMidi(const std::string& midiPath, const std::string& wavPath) {
    std::optional<std::vector<uint8_t>> image = quell::os::readFile(midiPath);
    if (!image) return fail("cannot read " + midiPath);
    {
        quell::music::SmfReader probe;
        if (!probe.Load(image->data(), image->size())) return fail(quell::music::SmfErrorName(probe.lastError()));
    }
    if (!quell::os::isRegularFile(quell::platform::FluidSynthesizerOptions().soundfont))
        return fail("the soundfont " + quell::platform::FluidSynthesizerOptions().soundfont + " is missing");

    std::unique_ptr<quell::music::MidiStream> stream = quell::platform::createWavMidiStream(wavPath);
    EndSignal end;
    bool readFailed = false;
    {
        // The end-of-song reset is not wanted here: the end only tells this
        // thread to release the player.
        RenderPlayer player(*stream, [&end](std::function<void()>) { end.raise(); });
        if (!player.Load(image->data(), image->size()))
            return fail("cannot open the MIDI stream service for " + wavPath);
        if (!player.Play(false)) return fail("the MIDI stream does not start");
        std::unique_lock<std::mutex> lock(end.mutex);
        while (!end.ended) {
            end.cv.wait_for(lock, std::chrono::milliseconds(50));
            // A song that cannot be read on stops with both buffers back and
            // never reaches its end.
            if (!end.ended && player.state() == quell::music::PlayerState::Normal &&
                player.returnedCount() >= quell::music::MidiStreamPlayer::kBufferCount) {
                readFailed = true;
                break;
            }
        }
        lock.unlock();
        // The synthesizer writes the file in real time, a period behind the
        // stream: a short tail lets the song's last notes and their release
        // reach the file before the device closes.
        if (!readFailed) std::this_thread::sleep_for(std::chrono::milliseconds(kReleaseTailMs));
    }
    stream.reset();
    if (readFailed) return fail("an event of " + midiPath + " cannot be read; the WAV file stops there");
    return 0;
}

}  // namespace quellkit
