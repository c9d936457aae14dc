#pragma once
// Paints the three pictures (normal, hover, pressed) of each skin button.
// Buttons are drawn over the piece of frame they cover and shipped opaque,
// so their anti-aliased edges blend into the frame exactly.
#include <QImage>

#include "skin_layout.h"

namespace quell1 {

enum class ButtonState { Normal, Hover, Pressed };

QImage paintButton(const ButtonSpot& spot, ButtonState state, const QImage& frame);

}  // namespace quell1
