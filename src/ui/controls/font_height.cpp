#include "ui/controls/font_height.h"

#include <QGuiApplication>
#include <QScreen>

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

}  // namespace quell::ui
