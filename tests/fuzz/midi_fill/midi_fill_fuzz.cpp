// Loads the input as a Standard MIDI File and fills buffers until the song
// ends or breaks, with repeat on, checking the records the filler writes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/music/smf_reader.h"
#include "core/music/stream_event.h"
#include "core/music/stream_filler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The reader keeps pointers into the image, so it gets its own copy of
    // exactly the input's bytes (no slack past the end).
    std::vector<uint8_t> image(data, data + size);
    quell::music::SmfReader reader;
    if (!reader.Load(image.data(), image.size())) return 0;
    quell::music::StreamFiller filler(reader);
    filler.repeat = (size & 1) != 0;
    uint8_t block[quell::music::kStreamBufferSize];
    quell::music::StreamBuffer buffer;
    buffer.data = block;
    for (int k = 0; k < 2000; ++k) {
        buffer.resetFill();
        if (k % 7 == 3) filler.insertTempo = true;
        int result = filler.FillBuffer(buffer, k == 0);
        if (buffer.used > buffer.capacity || buffer.used % quell::music::kStreamEventSize != 0) std::abort();
        if (result != quell::music::kFillReady) break;
        for (uint32_t at = 0; at < buffer.used; at += quell::music::kStreamEventSize) {
            quell::music::StreamEvent e = quell::music::readStreamEvent(block + at);
            uint32_t type = quell::music::eventType(e.event);
            if (e.streamId != 0 || (type != quell::music::MEVT_SHORTMSG && type != quell::music::MEVT_TEMPO))
                std::abort();
        }
    }
    return 0;
}
