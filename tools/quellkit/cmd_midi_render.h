#pragma once
#include <string>

namespace quellkit {

// Plays the file once through the MIDI stream service into a WAV file.
int renderMidi(const std::string& midiPath, const std::string& wavPath);

}  // namespace quellkit
