#include "ui/bookmarks/bookmark_icons.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace quell::ui {

namespace {

enum class Mark { Plus, Cross };

// A sheet of paper with a folded corner.
void drawPage(QPainter& p, QRectF r, const QColor& paper, const QColor& edge) {
    const qreal fold = r.width() * 0.3;
    QPainterPath page;
    page.moveTo(r.left(), r.top());
    page.lineTo(r.right() - fold, r.top());
    page.lineTo(r.right(), r.top() + fold);
    page.lineTo(r.right(), r.bottom());
    page.lineTo(r.left(), r.bottom());
    page.closeSubpath();
    p.setPen(QPen(edge, 1));
    p.setBrush(paper);
    p.drawPath(page);
    QPainterPath corner;
    corner.moveTo(r.right() - fold, r.top());
    corner.lineTo(r.right() - fold, r.top() + fold);
    corner.lineTo(r.right(), r.top() + fold);
    p.setBrush(edge.lighter(170));
    p.drawPath(corner);
    p.setPen(QPen(edge.lighter(140), 1));
    for (qreal y = r.top() + fold + 3; y < r.bottom() - 2; y += 3)
        p.drawLine(QPointF(r.left() + 3, y), QPointF(r.right() - 3, y));
}

// A folder with a tab.
void drawFolder(QPainter& p, QRectF r, const QColor& fill, const QColor& edge) {
    const qreal tabHeight = r.height() * 0.18;
    QPainterPath folder;
    folder.moveTo(r.left(), r.top() + tabHeight);
    folder.lineTo(r.left() + r.width() * 0.08, r.top());
    folder.lineTo(r.left() + r.width() * 0.42, r.top());
    folder.lineTo(r.left() + r.width() * 0.5, r.top() + tabHeight);
    folder.lineTo(r.right(), r.top() + tabHeight);
    folder.lineTo(r.right(), r.bottom());
    folder.lineTo(r.left(), r.bottom());
    folder.closeSubpath();
    p.setPen(QPen(edge, 1));
    p.setBrush(fill);
    p.drawPath(folder);
    p.setBrush(fill.lighter(115));
    p.drawRect(QRectF(r.left(), r.top() + tabHeight * 2, r.width(), r.height() - tabHeight * 2));
}

void drawMark(QPainter& p, QPointF centre, qreal size, Mark mark, const QColor& colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(centre, size * 0.62, size * 0.62);
    p.setBrush(colour);
    p.drawEllipse(centre, size * 0.5, size * 0.5);
    p.setPen(QPen(Qt::white, size * 0.18, Qt::SolidLine, Qt::RoundCap));
    const qreal arm = size * 0.26;
    if (mark == Mark::Plus) {
        p.drawLine(QPointF(centre.x() - arm, centre.y()), QPointF(centre.x() + arm, centre.y()));
        p.drawLine(QPointF(centre.x(), centre.y() - arm), QPointF(centre.x(), centre.y() + arm));
    } else {
        p.drawLine(QPointF(centre.x() - arm, centre.y() - arm), QPointF(centre.x() + arm, centre.y() + arm));
        p.drawLine(QPointF(centre.x() - arm, centre.y() + arm), QPointF(centre.x() + arm, centre.y() - arm));
    }
}

QImage greyed(const QImage& image) {
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            int g = qGray(line[x]);
            g = 96 + g * 5 / 8;  // lighter and flatter than the active picture
            line[x] = qRgba(g, g, g, qAlpha(line[x]));
        }
    }
    return out;
}

QImage activeIcon(int kind) {
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    switch (kind) {
    case 0:  // add the current page: a page with a green plus
        drawPage(p, QRectF(5.5, 2.5, 19, 25), QColor(255, 255, 250), QColor(70, 90, 70));
        drawMark(p, QPointF(22, 22), 16, Mark::Plus, QColor(0, 140, 0));
        break;
    case 1:  // delete: a page with a red cross
        drawPage(p, QRectF(5.5, 2.5, 19, 25), QColor(255, 255, 250), QColor(90, 70, 70));
        drawMark(p, QPointF(22, 22), 16, Mark::Cross, QColor(200, 20, 20));
        break;
    default:  // new folder: a yellow folder with a blue plus
        drawFolder(p, QRectF(2.5, 6.5, 24, 19), QColor(240, 200, 80), QColor(130, 100, 30));
        drawMark(p, QPointF(22, 22), 16, Mark::Plus, QColor(20, 60, 200));
        break;
    }
    return image;
}

}  // namespace

QIcon bookmarkButtonIcon(int id) {
    if (id < 159 || id > 164) return {};
    QImage image = activeIcon((id - 159) / 2);
    if ((id - 159) % 2 == 1) image = greyed(image);
    return QIcon(QPixmap::fromImage(image));
}

QPixmap bookmarkImageStrip() {
    QImage strip(39, 13, QImage::Format_RGB32);
    strip.fill(Qt::white);
    QPainter p(&strip);
    // Drawn without smoothing so the white key colour stays exact.
    drawFolder(p, QRectF(0.5, 1.5, 11, 10), QColor(240, 200, 80), QColor(130, 100, 30));
    drawPage(p, QRectF(28.5, 0.5, 9, 11), QColor(250, 250, 235), QColor(60, 80, 120));
    p.end();
    return QPixmap::fromImage(strip);
}

QIcon bookmarkTreeImage(int index) {
    QImage part = bookmarkImageStrip().toImage().copy(index * 13, 0, 13, 13).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < part.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(part.scanLine(y));
        for (int x = 0; x < part.width(); ++x)
            if ((line[x] & 0xFFFFFF) == 0xFFFFFF) line[x] = 0;
    }
    return QIcon(QPixmap::fromImage(part));
}

}  // namespace quell::ui
