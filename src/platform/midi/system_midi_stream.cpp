#include "platform/midi/system_midi_stream.h"

#include "core/os/file_system.h"
#include "platform/midi/fluid_synthesizer.h"
#include "platform/midi/threaded_midi_stream.h"

namespace quell::platform {

namespace {

std::unique_ptr<music::MidiStream> streamWith(FluidSynthesizerOptions options) {
    return std::make_unique<ThreadedMidiStream>(
        [options]() -> std::unique_ptr<Synthesizer> { return FluidSynthesizer::open(options); });
}

}  // namespace

std::unique_ptr<music::MidiStream> createSystemMidiStream() {
    FluidSynthesizerOptions options;
    options.wavPath = os::environment(kMidiWavVariable);
    return streamWith(options);
}

std::unique_ptr<music::MidiStream> createWavMidiStream(const std::string& path) {
    FluidSynthesizerOptions options;
    options.wavPath = path;
    return streamWith(options);
}

}  // namespace quell::platform
