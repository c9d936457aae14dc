#include "ui/controls/toolbar_pictures.h"

#include <QPainter>
#include <QPainterPath>

#include <array>

namespace quell::ui {
namespace {

enum class Glyph { Back, Forward, Stop, Reload, Home, Print, Restore, Minimize, Exit, File, Edit, View, Go };

struct PictureSet {
    int firstId;
    Glyph glyph;
    int width, height;
};

constexpr std::array<PictureSet, 13> kPictures = {{
    {134, Glyph::Back, 29, 26},
    {137, Glyph::Forward, 29, 26},
    {140, Glyph::Stop, 29, 26},
    {143, Glyph::Reload, 29, 26},
    {146, Glyph::Home, 29, 26},
    {149, Glyph::Print, 29, 26},
    {153, Glyph::Restore, 29, 26},
    {178, Glyph::Exit, 16, 14},
    {187, Glyph::Minimize, 16, 14},
    {207, Glyph::File, 29, 26},
    {210, Glyph::Edit, 29, 26},
    {213, Glyph::View, 29, 26},
    {216, Glyph::Go, 40, 18},
}};

const QColor kFace(191, 191, 191);
const QColor kLight(255, 255, 255);
const QColor kShadow(128, 128, 128);
const QColor kInk(32, 32, 48);
const QColor kHoverInk(0, 64, 160);
const QColor kStopRed(200, 32, 32);

// The bevel: raised for hover, sunken for pressed, none when normal.
void drawBevel(QPainter& p, const QRect& r, int state) {
    if (state == 0) return;
    const QColor topLeft = state == 1 ? kLight : kShadow;
    const QColor bottomRight = state == 1 ? kShadow : kLight;
    p.setPen(topLeft);
    p.drawLine(r.left(), r.top(), r.right(), r.top());
    p.drawLine(r.left(), r.top(), r.left(), r.bottom());
    p.setPen(bottomRight);
    p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    p.drawLine(r.right(), r.top(), r.right(), r.bottom());
}

void arrow(QPainter& p, bool pointsLeft, const QColor& ink) {
    // A 12 x 10 arrow centred on (0, 0).
    const qreal d = pointsLeft ? -1 : 1;
    QPainterPath path;
    path.moveTo(6 * d, 0);
    path.lineTo(0, -5);
    path.lineTo(0, -2);
    path.lineTo(-6 * d, -2);
    path.lineTo(-6 * d, 2);
    path.lineTo(0, 2);
    path.lineTo(0, 5);
    path.closeSubpath();
    p.fillPath(path, ink);
}

void drawGlyph(QPainter& p, Glyph glyph, const QColor& ink) {
    QPen pen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    switch (glyph) {
    case Glyph::Back: arrow(p, true, ink); break;
    case Glyph::Forward: arrow(p, false, ink); break;
    case Glyph::Stop: {
        QPainterPath octagon;
        const qreal a = 6.5, b = 2.7;
        octagon.moveTo(-b, -a);
        octagon.lineTo(b, -a);
        octagon.lineTo(a, -b);
        octagon.lineTo(a, b);
        octagon.lineTo(b, a);
        octagon.lineTo(-b, a);
        octagon.lineTo(-a, b);
        octagon.lineTo(-a, -b);
        octagon.closeSubpath();
        p.fillPath(octagon, kStopRed);
        p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(-2.8, -2.8), QPointF(2.8, 2.8));
        p.drawLine(QPointF(-2.8, 2.8), QPointF(2.8, -2.8));
        break;
    }
    case Glyph::Reload: {
        p.drawArc(QRectF(-6, -6, 12, 12), 60 * 16, 280 * 16);
        QPainterPath head;
        head.moveTo(2.0, -8.0);
        head.lineTo(6.5, -5.0);
        head.lineTo(1.5, -2.5);
        head.closeSubpath();
        p.fillPath(head, ink);
        break;
    }
    case Glyph::Home: {
        QPainterPath roof;
        roof.moveTo(-7, -0.5);
        roof.lineTo(0, -7);
        roof.lineTo(7, -0.5);
        p.drawPath(roof);
        p.drawRect(QRectF(-4.5, -1, 9, 7));
        p.fillRect(QRectF(-1.2, 2, 2.4, 4), ink);
        break;
    }
    case Glyph::Print:
        p.drawRect(QRectF(-4, -7, 8, 4));
        p.drawRect(QRectF(-7, -3, 14, 6));
        p.fillRect(QRectF(-4, 2, 8, 5), Qt::white);
        p.drawRect(QRectF(-4, 2, 8, 5));
        break;
    case Glyph::Restore:
        p.drawRect(QRectF(-3, -6, 9, 7));
        p.fillRect(QRectF(-6, -2, 9, 8), kFace);
        p.drawRect(QRectF(-6, -2, 9, 8));
        p.drawLine(QPointF(-6, -1), QPointF(3, -1));
        break;
    case Glyph::Minimize: p.fillRect(QRectF(-4, 2, 8, 2), ink); break;
    case Glyph::Exit:
        p.drawLine(QPointF(-3.5, -3.5), QPointF(3.5, 3.5));
        p.drawLine(QPointF(-3.5, 3.5), QPointF(3.5, -3.5));
        break;
    case Glyph::File: {
        QPainterPath sheet;
        sheet.moveTo(-5, -7);
        sheet.lineTo(2, -7);
        sheet.lineTo(5, -4);
        sheet.lineTo(5, 7);
        sheet.lineTo(-5, 7);
        sheet.closeSubpath();
        p.fillPath(sheet, Qt::white);
        p.drawPath(sheet);
        p.drawLine(QPointF(-2.5, -1), QPointF(2.5, -1));
        p.drawLine(QPointF(-2.5, 2), QPointF(2.5, 2));
        break;
    }
    case Glyph::Edit: {
        p.save();
        p.rotate(-45);
        p.fillRect(QRectF(-6, -2, 10, 4), QColor(230, 180, 40));
        p.drawRect(QRectF(-6, -2, 10, 4));
        QPainterPath tip;
        tip.moveTo(4, -2);
        tip.lineTo(8, 0);
        tip.lineTo(4, 2);
        tip.closeSubpath();
        p.fillPath(tip, ink);
        p.restore();
        break;
    }
    case Glyph::View: {
        QPainterPath eye;
        eye.moveTo(-8, 0);
        eye.quadTo(0, -8, 8, 0);
        eye.quadTo(0, 8, -8, 0);
        p.fillPath(eye, Qt::white);
        p.drawPath(eye);
        p.setBrush(ink);
        p.drawEllipse(QPointF(0, 0), 2.4, 2.4);
        break;
    }
    case Glyph::Go: break;
    }
}

void drawGo(QPainter& p, const QRect& r, int state) {
    p.fillRect(r, kFace);
    drawBevel(p, r, state == 0 ? 1 : state == 1 ? 1 : 2);
    const int shift = state == 2 ? 1 : 0;
    const QColor ink = state == 1 ? kHoverInk : kInk;
    QFont font(QStringLiteral("Sans"));
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(ink);
    p.drawText(QRect(4 + shift, shift, 22, r.height()), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Go"));
    p.save();
    p.translate(31 + shift, r.height() / 2.0 + shift);
    p.scale(0.7, 0.8);
    arrow(p, false, ink);
    p.restore();
}

QPixmap render(const PictureSet& set, int state) {
    QImage image(set.width, set.height, QImage::Format_RGB32);
    image.fill(kFace);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QRect r(0, 0, set.width, set.height);
    if (set.glyph == Glyph::Go) {
        drawGo(p, r, state);
        p.end();
        return QPixmap::fromImage(image);
    }
    drawBevel(p, r, state);
    p.setRenderHint(QPainter::Antialiasing, true);
    // The pressed picture moves one pixel down and right, as a pushed key does.
    const qreal shift = state == 2 ? 1.0 : 0.0;
    p.translate(set.width / 2.0 + shift, set.height / 2.0 + shift);
    if (set.width < 20) p.scale(0.85, 0.85);
    drawGlyph(p, set.glyph, state == 1 ? kHoverInk : kInk);
    p.end();
    return QPixmap::fromImage(image);
}

}  // namespace

QPixmap toolbarPicture(int resourceId) {
    for (const PictureSet& set : kPictures) {
        const int state = resourceId - set.firstId;
        if (state >= 0 && state <= 2) return render(set, state);
    }
    return QPixmap();
}

}  // namespace quell::ui
