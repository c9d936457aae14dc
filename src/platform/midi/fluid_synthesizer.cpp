#include "platform/midi/fluid_synthesizer.h"

#include <dlfcn.h>
#include <fluidsynth.h>

#include <atomic>
#include <cstdio>
#include <mutex>

#include "platform/midi/period_render.h"
#include "platform/midi/period_synthesizer.h"
#include "platform/midi/stream_clock.h"

namespace quell::platform {

namespace {

// FluidSynth renders in blocks of this many frames and takes messages
// between them.
constexpr int kFluidBlock = 64;
// Sound cards ask for periods in bursts while their buffer fills; an output
// further than this from the clock has stalled or started over.
constexpr int64_t kOutputDriftMicros = 50000;
// Enough channel buffers for any stereo layout FluidSynth is configured with.
constexpr int kMaxBuffers = 32;

// ALSA's own error reporter, which prints each failed look for a sound card.
extern "C" void dropAlsaMessage(const char*, int, const char*, int, const char*, ...) {}
using AlsaErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);

// FluidSynth, and ALSA below it, report a missing audio device on standard
// error, one line for every driver and device tried. The program says it
// once in a line of its own instead.
void quietenLibraryLog() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : {FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, nullptr, nullptr);
        // ALSA is FluidSynth's library, not ours: its setter is looked up in
        // what is loaded, and a FluidSynth built without ALSA has none.
        using Setter = int (*)(AlsaErrorHandler);
        if (auto set = reinterpret_cast<Setter>(dlsym(RTLD_DEFAULT, "snd_lib_error_set_handler")))
            set(&dropAlsaMessage);
    });
}

void reportNoAudioOutput() {
    static std::once_flag once;
    std::call_once(once, [] { std::fprintf(stderr, "%s\n", kNoAudioOutputMessage); });
}

void playOn(fluid_synth_t* synth, uint8_t status, uint8_t data1, uint8_t data2) {
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

// The settings and the synthesizer with its soundfont, shared by both
// outputs.
struct Engine {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;

    ~Engine() {
        if (synth) delete_fluid_synth(synth);
        if (settings) delete_fluid_settings(settings);
    }
    bool load(const std::string& soundfont) {
        synth = new_fluid_synth(settings);
        return synth && fluid_synth_sfload(synth, soundfont.c_str(), 1) != FLUID_FAILED;
    }
};

// A WAV file written a block at a time by FluidSynth's file renderer.
class FluidFileRenderer final : public Renderer {
public:
    static std::unique_ptr<FluidFileRenderer> open(const FluidSynthesizerOptions& options) {
        auto r = std::unique_ptr<FluidFileRenderer>(new FluidFileRenderer);
        r->m_engine.settings = new_fluid_settings();
        if (!r->m_engine.settings) return nullptr;
        fluid_settings_setstr(r->m_engine.settings, "audio.file.name", options.wavPath.c_str());
        fluid_settings_setstr(r->m_engine.settings, "audio.file.type", "wav");
        fluid_settings_setint(r->m_engine.settings, "audio.period-size", kFluidBlock);
        if (!r->m_engine.load(options.soundfont)) return nullptr;
        r->m_file = new_fluid_file_renderer(r->m_engine.synth);
        if (!r->m_file) return nullptr;
        double rate = 44100;
        fluid_settings_getnum(r->m_engine.settings, "synth.sample-rate", &rate);
        r->m_format = {int(rate), kFluidBlock};
        return r;
    }
    ~FluidFileRenderer() override {
        // The renderer holds the file and reads the synthesizer, so it goes first.
        if (m_file) delete_fluid_file_renderer(m_file);
    }
    RenderFormat format() const override { return m_format; }
    void shortMessage(uint8_t status, uint8_t data1, uint8_t data2) override {
        playOn(m_engine.synth, status, data1, data2);
    }
    void silence() override { fluid_synth_all_sounds_off(m_engine.synth, -1); }
    void render(int frames) override {
        for (int done = 0; done < frames; done += kFluidBlock) fluid_file_renderer_process_block(m_file);
    }

private:
    FluidFileRenderer() = default;
    Engine m_engine;
    fluid_file_renderer_t* m_file = nullptr;
    RenderFormat m_format;
};

}  // namespace

// The live output: the sound card's driver calls render for each period.
struct FluidSynthesizer::State {
    Engine engine;
    fluid_audio_driver_t* driver = nullptr;
    RenderFormat format;
    std::atomic<PeriodPlayer*> player{nullptr};
    bool callback = false;  // the driver renders through render()
    RenderTimeline timeline{44100, kOutputDriftMicros};

    ~State() {
        // The driver pulls audio from the synthesizer, so it goes first.
        if (driver) delete_fluid_audio_driver(driver);
    }

    static int render(void* data, int len, int nfx, float* fx[], int nout, float* out[]) {
        auto* self = static_cast<State*>(data);
        fluid_synth_t* synth = self->engine.synth;
        PeriodPlayer* player = self->player.load(std::memory_order_acquire);
        if (!player || nfx > kMaxBuffers || nout > kMaxBuffers)
            return fluid_synth_process(synth, len, nfx, fx, nout, out);
        int64_t start = self->timeline.begin(systemStreamClock().nowMicros(), len);
        int result = FLUID_OK;
        renderPeriod(*player, self->format, start, len, [&](int offset, int count) {
            float* fxAt[kMaxBuffers];
            float* outAt[kMaxBuffers];
            for (int i = 0; i < nfx; ++i) fxAt[i] = fx[i] + offset;
            for (int i = 0; i < nout; ++i) outAt[i] = out[i] + offset;
            if (fluid_synth_process(synth, count, nfx, fx ? fxAt : nullptr, nout, outAt) != FLUID_OK)
                result = FLUID_FAILED;
        });
        return result;
    }
};

namespace {

template <typename Open>
fluid_audio_driver_t* openSystemOutput(fluid_settings_t* settings, Open open) {
    if (fluid_audio_driver_t* driver = open()) return driver;
    for (const char* name : {"pulseaudio", "pipewire", "alsa", "sdl2"}) {
        if (fluid_settings_setstr(settings, "audio.driver", name) != FLUID_OK) continue;
        if (fluid_audio_driver_t* driver = open()) return driver;
    }
    return nullptr;
}

}  // namespace

std::unique_ptr<Synthesizer> FluidSynthesizer::open(const FluidSynthesizerOptions& options) {
    quietenLibraryLog();
    if (!options.wavPath.empty()) {
        std::unique_ptr<FluidFileRenderer> file = FluidFileRenderer::open(options);
        if (!file) return nullptr;
        return std::make_unique<PeriodSynthesizer>(std::move(file));
    }
    auto state = std::make_unique<State>();
    fluid_settings_t* settings = new_fluid_settings();
    state->engine.settings = settings;
    if (!settings || !state->engine.load(options.soundfont)) return nullptr;
    double rate = 44100;
    fluid_settings_getnum(settings, "synth.sample-rate", &rate);
    state->format = {int(rate), kFluidBlock};
    state->timeline = RenderTimeline(int(rate), kOutputDriftMicros);
    State* raw = state.get();
    // A driver that cannot render through a callback still plays: then the
    // stream service times the events itself.
    state->driver = openSystemOutput(settings, [&] { return new_fluid_audio_driver2(settings, &State::render, raw); });
    state->callback = state->driver != nullptr;
    if (!state->driver)
        state->driver = openSystemOutput(settings, [&] { return new_fluid_audio_driver(settings, raw->engine.synth); });
    if (!state->driver) {
        reportNoAudioOutput();
        return nullptr;
    }
    return std::unique_ptr<Synthesizer>(new FluidSynthesizer(std::move(state)));
}

FluidSynthesizer::FluidSynthesizer(std::unique_ptr<State> state) : m_state(std::move(state)) {}

FluidSynthesizer::~FluidSynthesizer() = default;

void FluidSynthesizer::shortMessage(uint8_t status, uint8_t data1, uint8_t data2) {
    playOn(m_state->engine.synth, status, data1, data2);
}

void FluidSynthesizer::silence() { fluid_synth_all_sounds_off(m_state->engine.synth, -1); }

bool FluidSynthesizer::attachPlayer(PeriodPlayer& player) {
    if (!m_state->callback) return false;
    PeriodPlayer* expected = nullptr;
    return m_state->player.compare_exchange_strong(expected, &player, std::memory_order_acq_rel);
}

}  // namespace quell::platform
