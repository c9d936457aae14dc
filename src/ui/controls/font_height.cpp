#include "ui/controls/font_height.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace quell::ui {

int mulDivRound(int number, int numerator, int denominator) {
    if (denominator == 0) return -1;
    const int64_t product = static_cast<int64_t>(number) * numerator;
    int64_t quotient = product / denominator;
    const int64_t remainder = product % denominator;
    if (std::llabs(remainder) * 2 >= std::llabs(static_cast<int64_t>(denominator)))
        quotient += ((product < 0) != (denominator < 0)) ? -1 : 1;
    return static_cast<int>(quotient);
}

int fontPixelHeight(int points) {
    int dpi = 96;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        dpi = static_cast<int>(screen->logicalDotsPerInchY() + 0.5);
    return mulDivRound(points, dpi, 72);
}

QFont pointFont(const QString& face, int points) {
    QFont font(face);
    font.setPixelSize(std::max(1, fontPixelHeight(points)));
    return font;
}

int emPixelsForCellHeight(const QFont& font, int cellPixels) {
    if (cellPixels <= 0) return 1;
    // The cell (ascent and descent) grows with the em size in proportion, so
    // one measurement at the cell's own size gives the ratio.
    QFont probe(font);
    probe.setPixelSize(cellPixels);
    const qreal cellAtProbe = QFontMetricsF(probe).height();
    if (cellAtProbe <= 0) return cellPixels;
    return std::max(1, static_cast<int>(cellPixels * cellPixels / cellAtProbe + 0.5));
}

}  // namespace quell::ui
