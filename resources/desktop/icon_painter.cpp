#include "icon_painter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace quell1 {

QImage paintIcon(int size) {
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(size / 64.0, size / 64.0);

    QPainterPath tile;
    tile.addRoundedRect(QRectF(3, 3, 58, 58), 14, 14);
    QLinearGradient face(0, 3, 0, 61);
    face.setColorAt(0.0, QColor(66, 80, 112));
    face.setColorAt(1.0, QColor(20, 26, 40));
    p.fillPath(tile, face);
    p.setPen(QPen(QColor(9, 12, 20), 1.5));
    p.drawPath(tile);

    QRadialGradient glow(QPointF(30, 30), 24);
    glow.setColorAt(0.5, QColor(64, 214, 200, 70));
    glow.setColorAt(1.0, QColor(64, 214, 200, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(QPointF(30, 30), 24, 24);

    // The ring with a tail: a Q drawn as one calm stroke.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(64, 214, 200), 6.5, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(15, 15, 30, 30), 300 * 16, 330 * 16);
    p.drawLine(QPointF(37, 37), QPointF(47, 47));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 250, 236));
    p.drawEllipse(QPointF(30, 30), 4.5, 4.5);
    p.end();
    return icon;
}

}  // namespace quell1
