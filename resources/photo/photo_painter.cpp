#include "photo_painter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <algorithm>
#include <cstdint>
#include <numbers>

namespace quell1 {
namespace {

constexpr int kWidth = 130;
constexpr int kHeight = 384;

// A fixed linear congruential sequence: the stars land in the same places in
// every build.
class StarSequence {
public:
    double next() {
        m_state = m_state * 1664525u + 1013904223u;
        return (m_state >> 8) / double(1u << 24);
    }

private:
    uint32_t m_state = 0x51ED2701u;
};

QPainterPath ridge(double base, double amplitude, double wavelength, double phase, double bottom) {
    QPainterPath path;
    path.moveTo(0, bottom);
    for (int x = 0; x <= kWidth; x += 2) {
        const double y = base - amplitude * (0.6 * std::sin(x / wavelength + phase) +
                                             0.4 * std::sin(x / (wavelength * 0.43) + phase * 1.7));
        path.lineTo(x, y);
    }
    path.lineTo(kWidth, bottom);
    path.closeSubpath();
    return path;
}

}  // namespace

QImage paintPhoto() {
    QImage image(kWidth, kHeight, QImage::Format_ARGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);

    QLinearGradient sky(0, 0, 0, 250);
    sky.setColorAt(0.0, QColor(10, 14, 40));
    sky.setColorAt(0.55, QColor(34, 54, 104));
    sky.setColorAt(1.0, QColor(70, 150, 170));
    p.fillRect(image.rect(), sky);

    StarSequence random;
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 70; ++i) {
        const double x = random.next() * kWidth;
        const double y = random.next() * 170;
        const double size = 0.35 + random.next() * 0.8;
        p.setBrush(QColor(255, 255, 255, int(90 + 165 * random.next() * (1.0 - y / 220))));
        p.drawEllipse(QPointF(x, y), size, size);
    }

    const QPointF moon(88, 78);
    QRadialGradient halo(moon, 46);
    halo.setColorAt(0.0, QColor(220, 255, 245, 110));
    halo.setColorAt(1.0, QColor(220, 255, 245, 0));
    p.setBrush(halo);
    p.drawEllipse(moon, 46, 46);
    p.setBrush(QColor(240, 250, 236));
    p.drawEllipse(moon, 14, 14);
    p.setBrush(QColor(214, 226, 214, 150));
    p.drawEllipse(moon + QPointF(-4, 3), 3, 3);
    p.drawEllipse(moon + QPointF(5, -4), 2, 2);

    p.fillPath(ridge(214, 26, 17, 0.4, 300), QColor(44, 70, 112));
    p.fillPath(ridge(236, 18, 11, 2.1, 300), QColor(28, 46, 80));
    p.fillPath(ridge(258, 10, 8, 4.0, 300), QColor(16, 28, 52));

    // The lake mirrors the sky, darker, with the moon's path on it.
    QLinearGradient lake(0, 262, 0, kHeight);
    lake.setColorAt(0.0, QColor(40, 100, 122));
    lake.setColorAt(1.0, QColor(8, 14, 32));
    p.fillRect(QRectF(0, 262, kWidth, kHeight - 262), lake);
    // A soft glow under the moon's path, then short shimmering strokes
    // that narrow and fade towards the viewer.
    p.save();
    p.translate(moon.x(), 262);
    p.scale(0.45, 1.0);
    QRadialGradient column(QPointF(0, 0), 110);
    column.setColorAt(0.0, QColor(200, 250, 240, 60));
    column.setColorAt(1.0, QColor(200, 250, 240, 0));
    p.setBrush(column);
    p.drawEllipse(QPointF(0, 0), 110, 110);
    p.restore();
    for (int i = 0; i < 28; ++i) {
        const double y = 266 + i * 4.1;
        const double spread = 17 - i * 0.35;
        const double half = spread * (0.3 + 0.7 * std::abs(std::sin(i * 1.7)));
        const double shift = 4.0 * std::sin(i * 0.9);
        p.setBrush(QColor(225, 255, 246, std::max(24, 180 - i * 5)));
        p.drawRoundedRect(QRectF(moon.x() + shift - half, y, half * 2, 1.3), 0.6, 0.6);
    }
    QLinearGradient shore(0, 256, 0, 266);
    shore.setColorAt(0.0, QColor(10, 18, 36));
    shore.setColorAt(1.0, QColor(10, 18, 36, 0));
    p.fillRect(QRectF(0, 256, kWidth, 10), shore);
    p.end();
    return image;
}

std::vector<QPoint> photoOutline() {
    // Four rounded corners of 42 points each, then one point in the middle
    // of the top edge: 169 points, clockwise.
    constexpr double left = 5, top = 3, right = 124, bottom = 379, r = 16;
    const struct {
        double cx, cy, from;
    } corners[] = {
        {left + r, top + r, 180}, {right - r, top + r, 270}, {right - r, bottom - r, 0}, {left + r, bottom - r, 90}};
    std::vector<QPoint> points;
    for (const auto& c : corners) {
        for (int i = 0; i < 42; ++i) {
            const double a = (c.from + 90.0 * i / 41) * std::numbers::pi / 180.0;
            points.emplace_back(int(std::lround(c.cx + r * std::cos(a))), int(std::lround(c.cy + r * std::sin(a))));
        }
        if (c.from == 180) points.emplace_back(int((left + right) / 2), int(top));
    }
    return points;
}

}  // namespace quell1
