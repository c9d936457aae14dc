#pragma once
// Paints the 800x600 frame bitmap of the Quell1 skin: the body inside the
// outline, the wells under the browser, address bar, status text, progress
// bar and Photo picture, the plates under the buttons and the word mark.
#include <QImage>
#include <QPoint>

#include <vector>

namespace quell1 {

// Everything outside the outline is painted in the rim colour, so whichever
// edge pixels the window shape keeps, none of them shows anything but rim.
QImage paintFrame(const std::vector<QPoint>& outline);

}  // namespace quell1
