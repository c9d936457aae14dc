#include "ui/controls/status_text_control.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

#include "ui/controls/image_conversion.h"

namespace quell::ui {

StatusTextControl::StatusTextControl(QWidget* parent)
    : QWidget(parent),
      m_textColour(palette().color(QPalette::Active, QPalette::ButtonText)),
      m_backgroundColour(palette().color(QPalette::Active, QPalette::Button)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void StatusTextControl::SetTextColour(int64_t colour) {
    if (colour == -1) m_textColour = palette().color(QPalette::Active, QPalette::ButtonText);
    else m_textColour = colourFromValue(static_cast<uint32_t>(colour));
    update();
}

void StatusTextControl::setText(const QString& text) {
    const QString old = m_text;
    m_text = text;
    // A screen reader hears the new text both as the control's new name and
    // as a change of its text.
    setAccessibleName(text);
    if (old != text) {
        QAccessibleTextUpdateEvent changed(this, 0, old, text);
        QAccessible::updateAccessibility(&changed);
    }
    update();
}

void StatusTextControl::setTransparentBackground(bool transparent) {
    m_transparent = transparent;
    setAttribute(Qt::WA_OpaquePaintEvent, !transparent);
    update();
}

void StatusTextControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_transparent) painter.fillRect(rect(), m_backgroundColour);
    painter.setFont(font());
    painter.setPen(m_textColour);
    // Status texts are mostly addresses, whose '&' must show as typed, so the
    // text is drawn plainly on one line without wrapping.
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextExpandTabs, m_text);
}

// Pointer input is taken and dropped so that it never reaches the main window.
void StatusTextControl::mousePressEvent(QMouseEvent* event) { event->accept(); }
void StatusTextControl::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }
void StatusTextControl::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }
void StatusTextControl::mouseMoveEvent(QMouseEvent* event) { event->accept(); }

}  // namespace quell::ui
