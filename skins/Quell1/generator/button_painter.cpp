#include "button_painter.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

namespace quell1 {
namespace {

QColor glyphColour(ButtonState state) {
    switch (state) {
    case ButtonState::Normal: return palette::kText;
    case ButtonState::Hover: return palette::kGlow;
    case ButtonState::Pressed: return palette::kAccent;
    }
    return palette::kText;
}

// Glyphs are drawn in a 20x20 box centred on the button.
QPainterPath glyphPath(const QString& stem) {
    QPainterPath path;
    if (stem == "back" || stem == "forward") {
        path.moveTo(11.5, 4.5);
        path.lineTo(6, 10);
        path.lineTo(11.5, 15.5);
        path.moveTo(6.5, 10);
        path.lineTo(15, 10);
        if (stem == "forward") {
            QTransform mirror(-1, 0, 0, 1, 20, 0);
            path = mirror.map(path);
        }
    } else if (stem == "stop") {
        path.moveTo(6, 6);
        path.lineTo(14, 14);
        path.moveTo(14, 6);
        path.lineTo(6, 14);
    } else if (stem == "reload") {
        path.arcMoveTo(QRectF(4.5, 4.5, 11, 11), 60);
        path.arcTo(QRectF(4.5, 4.5, 11, 11), 60, 290);
        // Arrow head at the start of the arc, pointing along it.
        const double a = 60 * std::numbers::pi / 180.0;
        const QPointF tip(10 + 5.5 * std::cos(a), 10 - 5.5 * std::sin(a));
        path.moveTo(tip + QPointF(-3.6, -0.6));
        path.lineTo(tip);
        path.lineTo(tip + QPointF(0.4, 3.6));
    } else if (stem == "home") {
        path.moveTo(3.5, 10.5);
        path.lineTo(10, 4.5);
        path.lineTo(16.5, 10.5);
        path.moveTo(6, 9);
        path.lineTo(6, 15.5);
        path.lineTo(14, 15.5);
        path.lineTo(14, 9);
        path.moveTo(8.8, 15.5);
        path.lineTo(8.8, 12);
        path.lineTo(11.2, 12);
        path.lineTo(11.2, 15.5);
    } else if (stem == "print") {
        path.addRect(QRectF(6.5, 4, 7, 4));
        path.addRoundedRect(QRectF(3.5, 8, 13, 6), 1.5, 1.5);
        path.addRect(QRectF(6.5, 12, 7, 4.5));
    } else if (stem == "favorite") {
        for (int i = 0; i < 10; ++i) {
            const double a = (-90 + 36 * i) * std::numbers::pi / 180.0;
            const double r = (i % 2 == 0) ? 7.2 : 3.0;
            const QPointF pt(10 + r * std::cos(a), 10.6 + r * std::sin(a));
            if (i == 0) path.moveTo(pt);
            else path.lineTo(pt);
        }
        path.closeSubpath();
    } else if (stem == "minimize") {
        path.moveTo(5.5, 13);
        path.lineTo(14.5, 13);
    } else if (stem == "maximize") {
        path.addRoundedRect(QRectF(5.5, 5.5, 9, 9), 1.5, 1.5);
    } else if (stem == "exit") {
        path.moveTo(6, 6);
        path.lineTo(14, 14);
        path.moveTo(14, 6);
        path.lineTo(6, 14);
    }
    return path;
}

void drawGlyph(QPainter& p, const ButtonSpot& spot, ButtonState state, double scale, double penWidth) {
    const QRectF box = QRectF(spot.rect.translated(-spot.rect.topLeft()));
    const double offset = state == ButtonState::Pressed ? 0.8 : 0.0;
    QTransform t;
    t.translate(box.center().x() - 10 * scale, box.center().y() - 10 * scale + offset);
    t.scale(scale, scale);
    const QPainterPath glyph = t.map(glyphPath(spot.fileStem));

    QColor colour = glyphColour(state);
    if (spot.fileStem == "exit" && state != ButtonState::Normal) colour = QColor(255, 128, 118);
    if (spot.fileStem == "favorite" && state != ButtonState::Normal) {
        p.fillPath(glyph, state == ButtonState::Hover ? palette::kGold : palette::kGold.darker(115));
        colour = palette::kGold.lighter(110);
    }
    // A dark copy one pixel down lifts the glyph off the face.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, state == ButtonState::Pressed ? 60 : 110), penWidth, Qt::SolidLine, Qt::RoundCap,
                  Qt::RoundJoin));
    p.drawPath(glyph.translated(0, 1));
    p.setPen(QPen(colour, penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(glyph);
}

void paintRound(QPainter& p, const ButtonSpot& spot, ButtonState state) {
    const QRectF box(0, 0, spot.rect.width(), spot.rect.height());
    const QPointF c = box.center();
    const double r = box.width() / 2 - 2.5;

    if (state == ButtonState::Hover) {
        QRadialGradient glow(c, r + 3);
        glow.setColorAt(0.75, QColor(64, 214, 200, 110));
        glow.setColorAt(1.0, QColor(64, 214, 200, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(c, r + 3, r + 3);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 120));
    p.drawEllipse(c + QPointF(0, 1), r + 0.5, r + 0.5);

    QLinearGradient face(0, c.y() - r, 0, c.y() + r);
    if (state == ButtonState::Pressed) {
        face.setColorAt(0.0, QColor(16, 22, 36));
        face.setColorAt(1.0, QColor(44, 56, 84));
    } else if (state == ButtonState::Hover) {
        face.setColorAt(0.0, QColor(98, 118, 160));
        face.setColorAt(1.0, QColor(42, 54, 84));
    } else {
        face.setColorAt(0.0, QColor(84, 100, 138));
        face.setColorAt(1.0, QColor(34, 43, 66));
    }
    p.setBrush(face);
    p.setPen(QPen(state == ButtonState::Hover ? palette::kAccent : QColor(8, 11, 18), 1.0));
    p.drawEllipse(c, r, r);

    if (state != ButtonState::Pressed) {
        // Glass highlight on the upper half.
        QLinearGradient gloss(0, c.y() - r, 0, c.y());
        gloss.setColorAt(0.0, QColor(255, 255, 255, 70));
        gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(gloss);
        p.drawEllipse(QRectF(c.x() - r * 0.78, c.y() - r + 1.2, r * 1.56, r * 1.05));
    }
    drawGlyph(p, spot, state, 0.95, 2.1);
}

void paintSmall(QPainter& p, const ButtonSpot& spot, ButtonState state) {
    const QRectF box = QRectF(0, 0, spot.rect.width(), spot.rect.height()).adjusted(1.5, 1.5, -1.5, -1.5);
    QPainterPath shape;
    shape.addRoundedRect(box, 6, 6);
    const bool danger = spot.fileStem == "exit";
    QLinearGradient face(0, box.top(), 0, box.bottom());
    if (state == ButtonState::Pressed) {
        face.setColorAt(0.0, danger ? QColor(110, 30, 34) : QColor(16, 22, 36));
        face.setColorAt(1.0, danger ? QColor(170, 54, 56) : QColor(40, 52, 78));
    } else if (state == ButtonState::Hover) {
        face.setColorAt(0.0, danger ? QColor(214, 84, 80) : QColor(96, 116, 158));
        face.setColorAt(1.0, danger ? QColor(150, 40, 44) : QColor(44, 56, 86));
    } else {
        face.setColorAt(0.0, QColor(78, 94, 130));
        face.setColorAt(1.0, QColor(36, 45, 68));
    }
    p.fillPath(shape.translated(0, 1), QColor(0, 0, 0, 110));
    p.fillPath(shape, face);
    p.setPen(QPen(QColor(8, 11, 18), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape);
    ButtonSpot glyphSpot = spot;
    drawGlyph(p, glyphSpot, state, 0.72, 1.7);
    if (danger && state != ButtonState::Normal) {
        // The close glyph turns white on its red face.
        QTransform t;
        t.translate(box.center().x() - 7.2, box.center().y() - 7.2 + (state == ButtonState::Pressed ? 0.8 : 0));
        t.scale(0.72, 0.72);
        p.setPen(QPen(Qt::white, 1.7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(t.map(glyphPath(spot.fileStem)));
    }
}

void paintMenu(QPainter& p, const ButtonSpot& spot, ButtonState state) {
    const QRectF box = QRectF(0, 0, spot.rect.width(), spot.rect.height()).adjusted(1, 1.5, -1, -1.5);
    QPainterPath pill;
    pill.addRoundedRect(box, box.height() / 2, box.height() / 2);
    QColor text = palette::kText;
    if (state == ButtonState::Hover) {
        p.fillPath(pill, QColor(64, 214, 200, 52));
        p.setPen(QPen(QColor(64, 214, 200, 200), 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawPath(pill);
        text = palette::kGlow;
    } else if (state == ButtonState::Pressed) {
        p.fillPath(pill, palette::kAccent);
        text = QColor(12, 30, 38);
    } else {
        p.setPen(QPen(QColor(255, 255, 255, 34), 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawPath(pill);
    }
    QFont font("DejaVu Sans");
    font.setPixelSize(11);
    font.setWeight(QFont::DemiBold);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.4);
    p.setFont(font);
    p.setPen(text);
    p.drawText(box.translated(0, state == ButtonState::Pressed ? 0.6 : 0), Qt::AlignCenter, spot.kind);
}

}  // namespace

QImage paintButton(const ButtonSpot& spot, ButtonState state, const QImage& frame) {
    QImage image = frame.copy(spot.rect).convertToFormat(QImage::Format_ARGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    switch (spot.style) {
    case ButtonStyle::Round: paintRound(p, spot, state); break;
    case ButtonStyle::Small: paintSmall(p, spot, state); break;
    case ButtonStyle::Menu: paintMenu(p, spot, state); break;
    }
    p.end();
    return image;
}

}  // namespace quell1
