#include "click_sound.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quell1 {
namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

void putTag(std::vector<uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

}  // namespace

std::vector<uint8_t> composeClick() {
    const int frames = kClickSampleRate * kClickMilliseconds / 1000;
    const uint32_t dataBytes = static_cast<uint32_t>(frames) * 2;
    std::vector<uint8_t> out;
    out.reserve(44 + dataBytes);
    putTag(out, "RIFF");
    put32(out, 36 + dataBytes);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, 1);  // mono
    put32(out, kClickSampleRate);
    put32(out, kClickSampleRate * 2);
    put16(out, 2);
    put16(out, 16);
    putTag(out, "data");
    put32(out, dataBytes);
    for (int i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kClickSampleRate;
        // A two-millisecond attack keeps the start from popping; the decay
        // leaves about a twentieth of the level at the end.
        const double attack = std::min(1.0, t / 0.002);
        const double decay = std::exp(-t * 3.0 / (kClickMilliseconds / 1000.0));
        const double value = 0.7 * attack * decay * std::sin(2.0 * std::numbers::pi * kClickFrequency * t);
        put16(out, static_cast<uint16_t>(static_cast<int16_t>(std::lround(value * 32767.0))));
    }
    return out;
}

}  // namespace quell1
