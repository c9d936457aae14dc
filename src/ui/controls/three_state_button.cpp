#include "ui/controls/three_state_button.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include "ui/controls/screen_rect.h"

namespace quell::ui {
namespace {
constexpr int kLeaveCheckMs = 10;
}

ThreeStateButton::ThreeStateButton(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    // Only Tab reaches the button: a click leaves the focus where it was, so
    // a mouse user never sees a focus rectangle.
    setFocusPolicy(Qt::TabFocus);
    m_leaveTimer.setInterval(kLeaveCheckMs);
    connect(&m_leaveTimer, &QTimer::timeout, this, &ThreeStateButton::checkPointerLeft);
}

void ThreeStateButton::setInert(bool inert) {
    m_inert = inert;
    setFocusPolicy(inert ? Qt::NoFocus : Qt::TabFocus);
}

void ThreeStateButton::press() {
    if (m_inert || !isEnabled()) return;
    onPressed();
    onClicked();
}

void ThreeStateButton::setState(State state) {
    m_state = state;
    repaint();
}

void ThreeStateButton::mousePressEvent(QMouseEvent* event) {
    // Mouse input stays with the button even when it does nothing with it,
    // so a press on a button never starts a drag of the window beneath.
    event->accept();
    if (m_inert || event->button() != Qt::LeftButton) return;
    onPressed();
    m_holdsPress = true;
    setState(Pressed);
    if (!m_leaveTimer.isActive()) m_leaveTimer.start();
}

void ThreeStateButton::mouseDoubleClickEvent(QMouseEvent* event) {
    // A second quick press is a press like any other.
    mousePressEvent(event);
}

void ThreeStateButton::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (m_inert || m_state != Normal) return;
    setState(Hover);
    if (!m_leaveTimer.isActive()) m_leaveTimer.start();
}

void ThreeStateButton::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (m_inert || event->button() != Qt::LeftButton) return;
    setState(Hover);
    if (!m_leaveTimer.isActive()) m_leaveTimer.start();
    if (!m_holdsPress) return;
    m_holdsPress = false;
    // The release position is compared with where the button is now on the
    // screen; a release outside is no click.
    if (containsScreenPoint(this, event->globalPosition().toPoint())) onClicked();
}

void ThreeStateButton::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    // A held key presses once.
    if (!event->isAutoRepeat()) press();
}

void ThreeStateButton::focusInEvent(QFocusEvent* event) {
    // Coming back to an active window keeps what the focus was before.
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        m_keyboardFocus = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason ||
                          event->reason() == Qt::ShortcutFocusReason;
    QWidget::focusInEvent(event);
}

void ThreeStateButton::focusOutEvent(QFocusEvent* event) {
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        m_keyboardFocus = false;
    QWidget::focusOutEvent(event);
}

void ThreeStateButton::drawKeyboardFocus(QPainter& painter) {
    if (!m_keyboardFocus || !hasFocus()) return;
    QStyleOptionFocusRect option;
    option.initFrom(this);
    // Styles draw the rectangle only for a focus the keyboard moved.
    option.state |= QStyle::State_KeyboardFocusChange;
    option.backgroundColor = palette().color(QPalette::Window);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

void ThreeStateButton::checkPointerLeft() {
    if (pointerInside(this)) return;
    m_leaveTimer.stop();
    setState(Normal);
}

}  // namespace quell::ui
