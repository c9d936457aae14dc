#include "ui/controls/standard_progress.h"

#include <QStyleOptionProgressBar>
#include <QStylePainter>

#include <algorithm>
#include <cstdint>

namespace quell::ui {

namespace {
// The classic control's blocks are two thirds as long as the bar is thick,
// with two pixels between them.
constexpr int kBlockGap = 2;
}  // namespace

StandardProgress::StandardProgress(QWidget* parent) : QProgressBar(parent) {}

void StandardProgress::setSmooth(bool smooth) {
    if (m_smooth == smooth) return;
    m_smooth = smooth;
    update();
}

void StandardProgress::paintEvent(QPaintEvent* event) {
    if (m_smooth) {
        QProgressBar::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionProgressBar option;
    initStyleOption(&option);
    painter.drawControl(QStyle::CE_ProgressBarGroove, option);

    const QRect inner = style()->subElementRect(QStyle::SE_ProgressBarContents, &option, this);
    const bool vertical = orientation() == Qt::Vertical;
    const int length = vertical ? inner.height() : inner.width();
    const int breadth = vertical ? inner.width() : inner.height();
    const int64_t range = static_cast<int64_t>(maximum()) - minimum();
    const int64_t done = std::clamp<int64_t>(static_cast<int64_t>(value()) - minimum(), 0, std::max<int64_t>(range, 0));
    const int filled = range > 0 ? static_cast<int>(length * done / range) : 0;
    const int block = std::max(1, breadth * 2 / 3);

    painter.setClipRect(inner);
    for (int at = 0; at < filled; at += block + kBlockGap) {
        const int size = std::min(block, filled - at);
        const QRect piece = vertical ? QRect(inner.left(), inner.bottom() + 1 - at - size, breadth, size)
                                     : QRect(inner.left() + at, inner.top(), size, breadth);
        painter.fillRect(piece, palette().highlight());
    }
}

}  // namespace quell::ui
