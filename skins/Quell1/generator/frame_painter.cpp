#include "frame_painter.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "frame_outline.h"
#include "skin_layout.h"

namespace quell1 {
namespace {

QFont uiFont(int pixelSize, int weight, double spacing = 0) {
    QFont font("DejaVu Sans");
    font.setPixelSize(pixelSize);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setHintingPreference(QFont::PreferFullHinting);
    if (spacing != 0) font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    return font;
}

void paintBody(QPainter& p, const QPainterPath& shape) {
    QLinearGradient body(0, kBodyTop - 20, 0, kBodyBottom);
    body.setColorAt(0.0, palette::kBodyTop.lighter(112));
    body.setColorAt(0.18, palette::kBodyTop);
    body.setColorAt(1.0, palette::kBodyBottom);
    p.fillPath(shape, body);

    // A soft cool light from the upper left gives the slab some depth.
    QRadialGradient sheen(QPointF(260, 40), 520);
    sheen.setColorAt(0.0, QColor(120, 200, 220, 46));
    sheen.setColorAt(1.0, QColor(120, 200, 220, 0));
    p.fillPath(shape, sheen);

    // Bevel: a light inner edge fading downwards, then the dark rim itself.
    p.save();
    p.setClipPath(shape);
    QLinearGradient bevel(0, 0, 0, kFrameHeight);
    bevel.setColorAt(0.0, QColor(255, 255, 255, 90));
    bevel.setColorAt(0.5, QColor(255, 255, 255, 26));
    bevel.setColorAt(1.0, QColor(255, 255, 255, 12));
    p.setPen(QPen(QBrush(bevel), 7.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape);
    p.restore();
    // The rim straddles the edge, so the anti-aliased fringe of the body
    // outside the polygon is painted over with rim as well.
    p.setPen(QPen(palette::kRim, 4.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape);
}

// A recessed well: dark face, a shadow along its top edge and a faint light
// line along its bottom, as if cut into the slab.
void paintWell(QPainter& p, const QRectF& rect, double radius) {
    QPainterPath lip;
    lip.addRoundedRect(rect.adjusted(-1, -1, 1, 1.5), radius + 1, radius + 1);
    QLinearGradient edge(0, rect.top(), 0, rect.bottom());
    edge.setColorAt(0.0, QColor(0, 0, 0, 150));
    edge.setColorAt(1.0, QColor(255, 255, 255, 46));
    p.fillPath(lip, edge);

    QPainterPath face;
    face.addRoundedRect(rect, radius, radius);
    p.fillPath(face, palette::kWell);

    p.save();
    p.setClipPath(face);
    QLinearGradient shade(0, rect.top(), 0, rect.top() + 5);
    shade.setColorAt(0.0, QColor(0, 0, 0, 110));
    shade.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.fillRect(QRectF(rect.left(), rect.top(), rect.width(), 5), shade);
    p.restore();
}

// A raised pill behind a group of round buttons.
void paintPlate(QPainter& p, const QRectF& rect) {
    const double radius = rect.height() / 2;
    QPainterPath plate;
    plate.addRoundedRect(rect, radius, radius);
    QPainterPath shadow;
    shadow.addRoundedRect(rect.translated(0, 1.5), radius, radius);
    p.fillPath(shadow, QColor(0, 0, 0, 90));
    QLinearGradient face(0, rect.top(), 0, rect.bottom());
    face.setColorAt(0.0, QColor(70, 84, 116));
    face.setColorAt(1.0, QColor(34, 42, 62));
    p.fillPath(plate, face);
    p.setPen(QPen(QColor(255, 255, 255, 40), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(plate);
}

void paintWordMark(QPainter& p) {
    const QFont mark = uiFont(17, QFont::Bold, 1.5);
    p.setFont(mark);
    const QPointF base(198, 22);
    p.setPen(QColor(0, 0, 0, 120));
    p.drawText(base + QPointF(0, 1), "QUELL");
    p.setPen(palette::kText);
    p.drawText(base, "QUELL");
    const double width = QFontMetricsF(mark).horizontalAdvance("QUELL");
    p.setPen(palette::kAccent);
    p.drawText(base + QPointF(width + 2, 0), "1");

    // A thin accent stroke ties the mark to the menus beside it.
    QLinearGradient line(300, 0, 352, 0);
    line.setColorAt(0.0, QColor(64, 214, 200, 0));
    line.setColorAt(1.0, QColor(64, 214, 200, 160));
    p.fillRect(QRectF(300, 15, 52, 1.2), line);
}

void paintCaption(QPainter& p, const QPointF& at, const QString& text, const QColor& colour, int size, double spacing) {
    p.setFont(uiFont(size, QFont::Bold, spacing));
    p.setPen(colour);
    p.drawText(at, text);
}

void paintPanel(QPainter& p) {
    // The Photo picture lies at the top of the left panel, the links below it.
    paintWell(p, QRectF(16, 30, 142, 516), 20);
    QLinearGradient divider(20, 0, 152, 0);
    divider.setColorAt(0.0, QColor(64, 214, 200, 0));
    divider.setColorAt(0.5, QColor(64, 214, 200, 140));
    divider.setColorAt(1.0, QColor(64, 214, 200, 0));
    p.fillRect(QRectF(20, 425, 132, 1), divider);
    paintCaption(p, QPointF(26, 440), "EXPLORE", palette::kTextDim, 9, 2.0);

    p.setPen(Qt::NoPen);
    for (const LinkSpot& link : linkSpots()) {
        const QPointF centre(28.5, link.rect.center().y() + 1.0);
        p.setBrush(QColor(64, 214, 200, 60));
        p.drawEllipse(centre, 4.0, 4.0);
        p.setBrush(palette::kAccent);
        p.drawEllipse(centre, 2.0, 2.0);
    }
}

void paintNavigationPlates(QPainter& p) {
    paintPlate(p, QRectF(168, 33, 80, 40));
    paintPlate(p, QRectF(254, 33, 118, 40));
    paintPlate(p, QRectF(378, 33, 80, 40));
    // The window buttons share one plate inside their tab.
    paintPlate(p, QRectF(643, 10.5, 92, 27));
}

void paintTagline(QPainter& p) {
    QFont font = uiFont(11, QFont::Normal, 0.6);
    font.setItalic(true);
    p.setFont(font);
    p.setPen(palette::kTextDim);
    p.drawText(QRectF(470, 36, 306, 34), Qt::AlignRight | Qt::AlignVCenter, "a calm window on the web");
}

void paintControlWells(QPainter& p) {
    paintWell(p, QRectF(kBrowserRect).adjusted(-4, -4, 5, 5), 8);
    paintWell(p, QRectF(kAddressRect).adjusted(-4, -4, 4, 4), 7);
    paintWell(p, QRectF(kBusyRect).adjusted(-4, -4, 4, 4), 9);
    paintWell(p, QRectF(kStatusRect).adjusted(-8, -4, 8, 4), 7);
    paintWell(p, QRectF(kProgressRect).adjusted(-5, -5, 5, 5), 8);
    paintWell(p, QRectF(kEqualizerRect).adjusted(-5, -4, 5, 4), 8);
    // The animated pictures are drawn opaque on this colour; keep their
    // squares flat so they sit in the wells without a seam.
    p.fillRect(kEqualizerRect, palette::kWell);
    p.fillRect(kBusyRect, palette::kWell);
}

}  // namespace

QImage paintFrame(const std::vector<QPoint>& outline, const QColor& background) {
    QImage frame(kFrameWidth, kFrameHeight, QImage::Format_ARGB32);
    frame.fill(background);
    const QPainterPath shape = outlinePath(outline);

    QPainter p(&frame);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    paintBody(p, shape);
    paintWordMark(p);
    paintNavigationPlates(p);
    paintTagline(p);
    paintPanel(p);
    paintControlWells(p);
    p.end();
    return frame;
}

}  // namespace quell1
