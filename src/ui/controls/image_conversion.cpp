#include "ui/controls/image_conversion.h"

#include <cstring>

namespace quell::ui {

QImage toQImage(const image::PixelImage& picture) {
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.pixels.size() < static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height))
        return QImage();
    QImage result(picture.width, picture.height, QImage::Format_ARGB32);
    for (int y = 0; y < picture.height; ++y) {
        std::memcpy(result.scanLine(y), picture.pixels.data() + static_cast<size_t>(y) * picture.width,
                    static_cast<size_t>(picture.width) * sizeof(uint32_t));
    }
    return result;
}

image::PixelImage toPixelImage(const QImage& source) {
    image::PixelImage picture;
    if (source.isNull()) return picture;
    const QImage argb = source.convertToFormat(QImage::Format_ARGB32);
    picture.width = argb.width();
    picture.height = argb.height();
    picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        std::memcpy(picture.pixels.data() + static_cast<size_t>(y) * picture.width, argb.constScanLine(y),
                    static_cast<size_t>(picture.width) * sizeof(uint32_t));
    }
    return picture;
}

QColor colourFromValue(uint32_t colourValue) {
    return QColor(static_cast<int>(colourValue & 0xFF), static_cast<int>((colourValue >> 8) & 0xFF),
                  static_cast<int>((colourValue >> 16) & 0xFF));
}

}  // namespace quell::ui
