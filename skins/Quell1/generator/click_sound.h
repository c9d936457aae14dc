#pragma once
// The press sound of the Quell1 skin's navigation buttons: a short, bright
// click as a 16-bit mono PCM WAV file.
#include <cstdint>
#include <vector>

namespace quell1 {

inline constexpr int kClickSampleRate = 44100;
// A tone at an eighth of the sample rate, far above the tune's notes, so
// that a recording can tell the click from the music.
inline constexpr double kClickFrequency = kClickSampleRate / 8.0;
inline constexpr int kClickMilliseconds = 60;

std::vector<uint8_t> composeClick();

}  // namespace quell1
