#include "platform/midi/synthesizer_load.h"

#include "core/os/file_system.h"
#include "platform/midi/fluid_synthesizer.h"
#include "platform/midi/system_midi_stream.h"
#include "platform/midi/threaded_midi_stream.h"

namespace quell::platform {

SynthesizerLoad::SynthesizerLoad() {
    FluidSynthesizerOptions options;
    options.wavPath = os::environment(kMidiWavVariable);
    // The loader writes m_synth once and then publishes it through m_ready.
    m_loader = std::thread([this, options] {
        m_synth = FluidSynthesizer::open(options);
        m_ready.store(true);
    });
}

SynthesizerLoad::~SynthesizerLoad() {
    if (m_loader.joinable()) m_loader.join();
}

std::unique_ptr<music::MidiStream> SynthesizerLoad::takeStream() {
    if (m_loader.joinable()) m_loader.join();
    auto synth = std::make_shared<std::unique_ptr<Synthesizer>>(std::move(m_synth));
    return std::make_unique<ThreadedMidiStream>(
        [synth]() -> std::unique_ptr<Synthesizer> { return std::move(*synth); });
}

}  // namespace quell::platform
