#include "ui/controls/accessible_bitmap_button.h"

#include "ui/controls/three_state_button.h"

namespace quell::ui {

AccessibleBitmapButton::AccessibleBitmapButton(ThreeStateButton* button)
    : QAccessibleWidget(button, QAccessible::Button) {}

ThreeStateButton* AccessibleBitmapButton::button() const { return static_cast<ThreeStateButton*>(widget()); }

QAccessible::Role AccessibleBitmapButton::role() const {
    return button()->isInert() ? QAccessible::Graphic : QAccessible::Button;
}

QAccessible::State AccessibleBitmapButton::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.pressed = button()->state() == ThreeStateButton::Pressed;
    return state;
}

QStringList AccessibleBitmapButton::actionNames() const {
    QStringList names = QAccessibleWidget::actionNames();
    if (!button()->isInert() && button()->isEnabled()) names.prepend(pressAction());
    return names;
}

void AccessibleBitmapButton::doAction(const QString& actionName) {
    if (actionName == pressAction()) button()->press();
    else QAccessibleWidget::doAction(actionName);
}

}  // namespace quell::ui
