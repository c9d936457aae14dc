#pragma once
// Paints the 800x600 frame bitmap of the Quell1 skin: the body inside the
// outline, the wells under the browser, address bar, status text, progress
// bar and Photo picture, the plates under the buttons and the word mark.
#include <QColor>
#include <QImage>
#include <QPoint>

#include <vector>

#include "skin_layout.h"

namespace quell1 {

// The bitmap starts as background (the rim colour unless a test asks for
// another); the body covers the outline opaquely, so the window's shape shows
// none of that background, and the rim straddles the edge.
QImage paintFrame(const std::vector<QPoint>& outline, const QColor& background = palette::kRim);

}  // namespace quell1
