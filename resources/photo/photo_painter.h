#pragma once
// The picture shipped as Photo.bmp beside the program: a quiet night
// landscape in the skin's colours. A user may replace the file with any
// photograph of their own.
#include <QImage>
#include <QPoint>

#include <vector>

namespace quell1 {

QImage paintPhoto();

// The shape the picture is meant to be shown in: a rounded panel of 169
// points inside x 5..124 and y 3..379, in the outline file layout's order.
std::vector<QPoint> photoOutline();

}  // namespace quell1
