#pragma once
// The system stream's synthesizer opened on a thread of its own: loading the
// soundfont takes most of a second, which the window and the first page need
// more. The stream made afterwards plays through what was loaded.
#include <atomic>
#include <memory>
#include <thread>

#include "core/music/midi_stream.h"
#include "platform/midi/synthesizer.h"

namespace quell::platform {

class SynthesizerLoad {
public:
    // Starts loading at once, with the options the system stream would use.
    SynthesizerLoad();
    // Waits for a load still running; a soundfont load cannot be cut short.
    ~SynthesizerLoad();
    SynthesizerLoad(const SynthesizerLoad&) = delete;
    SynthesizerLoad& operator=(const SynthesizerLoad&) = delete;

    bool ready() const { return m_ready.load(); }
    // The stream service over the loaded synthesizer, once ready() holds. Its
    // open fails as the system stream's would when the load failed. Only the
    // first stream gets the synthesizer.
    std::unique_ptr<music::MidiStream> takeStream();

private:
    std::unique_ptr<Synthesizer> m_synth;
    std::atomic<bool> m_ready{false};
    std::thread m_loader;
};

}  // namespace quell::platform
