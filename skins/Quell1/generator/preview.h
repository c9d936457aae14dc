#pragma once
// A picture of the whole skin as the program assembles it (frame, buttons,
// pictures, a stand-in page), for judging the design without running the
// program. Not part of the skin.
#include <QImage>

#include "button_painter.h"

namespace quell1 {

QImage composePreview(const QImage& frame, const QImage& photo, ButtonState state);

}  // namespace quell1
