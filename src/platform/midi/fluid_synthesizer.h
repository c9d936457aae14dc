#pragma once
// The General MIDI synthesizer behind the MIDI stream service: FluidSynth
// with a soundfont, playing on the system's audio output or into a WAV file.
// Both render the stream's events inside their own audio periods: the sound
// card's callback (where its driver takes one) plays what falls due in the
// period it asks for, and a WAV file is rendered period by period at the pace
// of the clock.
#include <memory>
#include <string>

#include "platform/midi/synthesizer.h"

namespace quell::platform {

// Said once on standard error when neither a sound server nor a sound card
// takes the music.
inline constexpr const char* kNoAudioOutputMessage =
    "Quellcore: no audio output (no sound server or sound card answered); the music is not played";

struct FluidSynthesizerOptions {
    std::string soundfont = "/usr/share/sounds/sf2/FluidR3_GM.sf2";
    // Empty: the system's audio output. Otherwise a WAV file at this path.
    std::string wavPath;
};

class FluidSynthesizer final : public Synthesizer {
public:
    // nullptr when the soundfont or the audio output cannot be opened.
    static std::unique_ptr<Synthesizer> open(const FluidSynthesizerOptions& options);
    ~FluidSynthesizer() override;

    void shortMessage(uint8_t status, uint8_t data1, uint8_t data2) override;
    void silence() override;
    // False when the audio output renders without a callback of ours.
    bool attachPlayer(PeriodPlayer& player) override;

private:
    struct State;
    explicit FluidSynthesizer(std::unique_ptr<State> state);
    std::unique_ptr<State> m_state;
};

}  // namespace quell::platform
