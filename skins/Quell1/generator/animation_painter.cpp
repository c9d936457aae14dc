#include "animation_painter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>

#include "skin_layout.h"

namespace quell1 {
namespace {

constexpr int kEqualizerFrames = 16;
constexpr int kSpinnerFrames = 12;

QImage blankFrame(QSize size) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(palette::kWell);
    return image;
}

}  // namespace

AnimationFrames paintEqualizer() {
    AnimationFrames out;
    out.delayHundredths = 9;
    const QSize size = kEqualizerRect.size();
    constexpr int kBars = 7;
    const double barWidth = 4;
    const double gap = (size.width() - 4 - kBars * barWidth) / (kBars - 1);
    for (int f = 0; f < kEqualizerFrames; ++f) {
        QImage image = blankFrame(size);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, true);
        const double phase = 2 * std::numbers::pi * f / kEqualizerFrames;
        for (int b = 0; b < kBars; ++b) {
            // Two waves of whole periods over the loop, so the last frame
            // leads back into the first without a jump.
            const double level = 0.5 + 0.3 * std::sin(phase + b * 0.9) + 0.18 * std::sin(2 * phase - b * 1.7);
            const double height = 3 + level * (size.height() - 7);
            const double x = 2 + b * (barWidth + gap);
            const QRectF bar(x, size.height() - 2 - height, barWidth, height);
            QLinearGradient fill(0, size.height() - 2, 0, 2);
            fill.setColorAt(0.0, palette::kAccentDeep);
            fill.setColorAt(0.6, palette::kAccent);
            fill.setColorAt(1.0, palette::kGlow);
            QPainterPath path;
            path.addRoundedRect(bar, 1.5, 1.5);
            p.fillPath(path, fill);
        }
        p.end();
        out.frames.push_back(image);
    }
    return out;
}

AnimationFrames paintSpinner() {
    AnimationFrames out;
    out.delayHundredths = 8;
    const QSize size = kBusyRect.size();
    const QPointF centre(size.width() / 2.0, size.height() / 2.0);
    for (int f = 0; f < kSpinnerFrames; ++f) {
        QImage image = blankFrame(size);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, true);
        // Twelve dots round a ring; the bright head moves one dot a frame
        // and leaves a fading tail behind it.
        for (int d = 0; d < kSpinnerFrames; ++d) {
            const int age = (f - d + kSpinnerFrames) % kSpinnerFrames;
            const double a = (d * 30.0 - 90.0) * std::numbers::pi / 180.0;
            const QPointF at = centre + QPointF(8.5 * std::cos(a), 8.5 * std::sin(a));
            const double t = 1.0 - age / double(kSpinnerFrames);
            QColor c = palette::kAccent;
            c.setAlphaF(0.12 + 0.88 * t * t);
            p.setPen(Qt::NoPen);
            p.setBrush(c);
            const double radius = 1.3 + 1.1 * t;
            p.drawEllipse(at, radius, radius);
        }
        p.end();
        out.frames.push_back(image);
    }
    return out;
}

}  // namespace quell1
