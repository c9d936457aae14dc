#pragma once
// The MIDI stream service of this platform: ThreadedMidiStream over
// FluidSynth. Setting QUELLCORE_MIDI_WAV=/path/out.wav makes it render into
// that WAV file through FluidSynth's file driver instead of the sound card.
#include <memory>
#include <string>

#include "core/music/midi_stream.h"

namespace quell::platform {

constexpr const char* kMidiWavVariable = "QUELLCORE_MIDI_WAV";

std::unique_ptr<music::MidiStream> createSystemMidiStream();
// Renders into the WAV file at path, whatever the environment says.
std::unique_ptr<music::MidiStream> createWavMidiStream(const std::string& path);

}  // namespace quell::platform
