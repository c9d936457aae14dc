// quellkit midi FILE: lists the stream buffers the filler produces for FILE
// with repeat off. quellkit midi render FILE OUT.wav: plays FILE once through
// the MIDI stream service into a WAV file.
#include <cinttypes>
#include <cstdio>

#include "commands.h"
#include "core/music/smf_reader.h"
#include "core/music/stream_event.h"
#include "core/music/stream_filler.h"
#include "core/os/file_system.h"

#ifdef QUELLKIT_HAVE_PLATFORM
#include "cmd_midi_render.h"
#endif

namespace quellkit {

namespace {

int dumpMidi(const std::string& path) {
    std::optional<std::vector<uint8_t>> image = quell::os::readFile(path);
    if (!image) return fail("cannot read " + path);

    quell::music::SmfReader reader;
    reader.setDiagnosticHook(
        [](size_t track, const char* text) { std::fprintf(stderr, "note: track %zu: %s\n", track, text); });
    if (!reader.Load(image->data(), image->size())) return fail(quell::music::SmfErrorName(reader.lastError()));

    quell::music::StreamFiller filler(reader);
    uint8_t block[quell::music::kStreamBufferSize];
    quell::music::StreamBuffer buffer;
    buffer.data = block;
    int result = quell::music::kFillReady;
    for (int k = 0;; ++k) {
        buffer.resetFill();
        result = filler.FillBuffer(buffer, k == 0);
        if (result != quell::music::kFillReady) break;
        std::printf("buffer %d %" PRIu32 "\n", k, buffer.used);
        for (uint32_t at = 0; at + quell::music::kStreamEventSize <= buffer.used;
             at += quell::music::kStreamEventSize) {
            quell::music::StreamEvent e = quell::music::readStreamEvent(block + at);
            std::printf("%" PRIu32 " %" PRIu32 " %08" PRIx32 "\n", e.deltaTime, e.streamId, e.event);
        }
    }
    std::printf("end %d\n", result);
    if (result != quell::music::kFillSongEnded) {
        if (reader.lastError() != quell::music::SmfError::None)
            return fail(quell::music::SmfErrorName(reader.lastError()));
        return fail("an event of the file cannot be read");
    }
    return 0;
}

}  // namespace

int runMidi(const Args& args) {
    const char* line = "midi FILE | midi render FILE OUT.wav";
    if (args.size() == 1 && args[0] != "render") return dumpMidi(args[0]);
    if (args.size() == 3 && args[0] == "render") {
#ifdef QUELLKIT_HAVE_PLATFORM
        return renderMidi(args[1], args[2]);
#else
        return fail("midi render needs the platform library; this quellkit was built without it");
#endif
    }
    return usage(line);
}

}  // namespace quellkit
