#pragma once
// Turns painted QImages into file bytes with the project's own writers: BMP
// for the frame, buttons and photo, GIF for the animated pictures.
#include <QImage>

#include <cstdint>
#include <vector>

#include "animation_painter.h"

namespace quell1 {

std::vector<uint8_t> encodeBmp(const QImage& image);

// All frames share one colour table built from the colours they use; frames
// with more than 256 distinct colours are mapped to the nearest table entry.
std::vector<uint8_t> encodeAnimation(const AnimationFrames& animation);

}  // namespace quell1
