#pragma once
// What the MIDI stream service plays its short messages on.
#include <cstdint>

namespace quell::platform {

class Synthesizer {
public:
    virtual ~Synthesizer() = default;
    // One channel message: status 0x80 to 0xEF and its data bytes.
    virtual void shortMessage(uint8_t status, uint8_t data1, uint8_t data2) = 0;
    // Silences every sounding note on every channel at once.
    virtual void silence() = 0;
};

}  // namespace quell::platform
