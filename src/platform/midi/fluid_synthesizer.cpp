#include "platform/midi/fluid_synthesizer.h"

#include <fluidsynth.h>

#include <mutex>

namespace quell::platform {

struct FluidSynthesizer::State {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_audio_driver_t* driver = nullptr;

    ~State() {
        // The driver pulls audio from the synthesizer, so it goes first.
        if (driver) delete_fluid_audio_driver(driver);
        if (synth) delete_fluid_synth(synth);
        if (settings) delete_fluid_settings(settings);
    }
};

namespace {

// FluidSynth reports a missing audio device on standard error; the program
// treats that as "no music" and stays quiet about it.
void quietenLibraryLog() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : {FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, nullptr, nullptr);
    });
}

fluid_audio_driver_t* openSystemOutput(fluid_settings_t* settings, fluid_synth_t* synth) {
    if (fluid_audio_driver_t* driver = new_fluid_audio_driver(settings, synth)) return driver;
    for (const char* name : {"pulseaudio", "pipewire", "alsa", "sdl2"}) {
        if (fluid_settings_setstr(settings, "audio.driver", name) != FLUID_OK) continue;
        if (fluid_audio_driver_t* driver = new_fluid_audio_driver(settings, synth)) return driver;
    }
    return nullptr;
}

}  // namespace

std::unique_ptr<FluidSynthesizer> FluidSynthesizer::open(const FluidSynthesizerOptions& options) {
    quietenLibraryLog();
    auto state = std::make_unique<State>();
    state->settings = new_fluid_settings();
    if (!state->settings) return nullptr;
    if (!options.wavPath.empty()) {
        fluid_settings_setstr(state->settings, "audio.driver", "file");
        fluid_settings_setstr(state->settings, "audio.file.name", options.wavPath.c_str());
        fluid_settings_setstr(state->settings, "audio.file.type", "wav");
    }
    state->synth = new_fluid_synth(state->settings);
    if (!state->synth) return nullptr;
    if (fluid_synth_sfload(state->synth, options.soundfont.c_str(), 1) == FLUID_FAILED) return nullptr;
    state->driver = options.wavPath.empty() ? openSystemOutput(state->settings, state->synth)
                                            : new_fluid_audio_driver(state->settings, state->synth);
    if (!state->driver) return nullptr;
    return std::unique_ptr<FluidSynthesizer>(new FluidSynthesizer(std::move(state)));
}

FluidSynthesizer::FluidSynthesizer(std::unique_ptr<State> state) : m_state(std::move(state)) {}

FluidSynthesizer::~FluidSynthesizer() = default;

void FluidSynthesizer::shortMessage(uint8_t status, uint8_t data1, uint8_t data2) {
    fluid_synth_t* synth = m_state->synth;
    int channel = status & 0x0F;
    switch (status & 0xF0) {
    case 0x80: fluid_synth_noteoff(synth, channel, data1); break;
    case 0x90:
        // A note-on of velocity 0 is a note-off; FluidSynth treats it so.
        fluid_synth_noteon(synth, channel, data1, data2);
        break;
    case 0xA0: fluid_synth_key_pressure(synth, channel, data1, data2); break;
    case 0xB0: fluid_synth_cc(synth, channel, data1, data2); break;
    case 0xC0: fluid_synth_program_change(synth, channel, data1); break;
    case 0xD0: fluid_synth_channel_pressure(synth, channel, data1); break;
    case 0xE0: fluid_synth_pitch_bend(synth, channel, data1 | (data2 << 7)); break;
    default: break;
    }
}

void FluidSynthesizer::silence() { fluid_synth_all_sounds_off(m_state->synth, -1); }

}  // namespace quell::platform
