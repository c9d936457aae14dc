#include "ui/controls/three_state_button.h"

#include <QMouseEvent>

#include "ui/controls/screen_rect.h"

namespace quell::ui {
namespace {
constexpr int kLeaveCheckMs = 10;
}

ThreeStateButton::ThreeStateButton(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    m_leaveTimer.setInterval(kLeaveCheckMs);
    connect(&m_leaveTimer, &QTimer::timeout, this, &ThreeStateButton::checkPointerLeft);
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

void ThreeStateButton::checkPointerLeft() {
    if (pointerInside(this)) return;
    m_leaveTimer.stop();
    setState(Normal);
}

}  // namespace quell::ui
