#include "ui/controls/gradient_progress.h"

#include <QPainter>
#include <QPixmap>

#include <algorithm>

#include "core/image/gradient_ramp.h"
#include "ui/controls/image_conversion.h"

namespace quell::ui {
namespace {

QRect fromEdges(const image::RampRect& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

}  // namespace

GradientProgress::GradientProgress(QWidget* parent) : QProgressBar(parent) {
    // Every pixel is painted by paintEvent, so nothing is erased beforehand.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setTextVisible(false);
    QProgressBar::setRange(m_lower, m_upper);
    QProgressBar::setValue(m_position);
}

void GradientProgress::SetRange(int lower, int upper) {
    m_lower = lower;
    m_upper = upper;
    m_position = lower;
    // The base bar only carries the values for accessibility; it needs an ordered range.
    QProgressBar::setRange(std::min(lower, upper), std::max(lower, upper));
    QProgressBar::setValue(lower);
    update();
}

void GradientProgress::SetPos(int position) {
    m_position = position;
    QProgressBar::setValue(std::clamp(position, minimum(), maximum()));
    update();
}

void GradientProgress::paintEvent(QPaintEvent*) {
    image::RampInput input;
    input.lower = m_lower;
    input.upper = m_upper;
    input.position = m_position;
    input.vertical = m_vertical;
    input.clientRight = width();
    input.clientBottom = height();
    input.start = m_startColour;
    input.end = m_endColour;
    input.background = m_backgroundColour;
    const image::RampPlan plan = image::PlanGradientRamp(input);

    QPainter painter(this);
    if (!plan.showsRamp) {
        painter.fillRect(rect(), colourFromValue(m_backgroundColour));
        return;
    }

    // The bands go to a back buffer that reaches the screen in one copy, so
    // the bar never shows half a ramp.
    const qreal ratio = devicePixelRatioF();
    QPixmap buffer(size() * ratio);
    buffer.setDevicePixelRatio(ratio);
    {
        QPainter offscreen(&buffer);
        for (const image::RampRect& fill : plan.fills) {
            const QRect area = fromEdges(fill);
            if (!area.isEmpty()) offscreen.fillRect(area, colourFromValue(fill.colour));
        }
    }
    painter.drawPixmap(0, 0, buffer);

    if (m_showPercentage) {
        painter.setPen(colourFromValue(m_textColour));
        painter.setFont(font());
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine,
                         QString::fromStdString(image::FormatRampPercentage(m_position, m_upper)));
    }
}

}  // namespace quell::ui
