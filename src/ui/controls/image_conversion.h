#pragma once
// The one place where core pictures and colour values meet Qt's types.
#include <QColor>
#include <QImage>

#include <cstdint>

#include "core/image/pixel_image.h"

namespace quell::ui {

// Wraps a copy of the picture's pixels; PixelImage is laid out as ARGB32.
QImage toQImage(const image::PixelImage& picture);
image::PixelImage toPixelImage(const QImage& image);

// A skin colour value (0x00BBGGRR) as an opaque QColor.
QColor colourFromValue(uint32_t colourValue);

}  // namespace quell::ui
