#include "ui/controls/accessible_hover_label.h"

#include "ui/controls/hover_label.h"

namespace quell::ui {

AccessibleHoverLabel::AccessibleHoverLabel(HoverLabel* label) : QAccessibleWidget(label, QAccessible::Link) {}

HoverLabel* AccessibleHoverLabel::label() const { return static_cast<HoverLabel*>(widget()); }

// The kind is read each time: the label learns it only after its widget exists.
QAccessible::Role AccessibleHoverLabel::role() const {
    return label()->runsCommand() ? QAccessible::Link : QAccessible::StaticText;
}

QStringList AccessibleHoverLabel::actionNames() const {
    QStringList names = QAccessibleWidget::actionNames();
    if (label()->runsCommand() && label()->isEnabled()) names.prepend(pressAction());
    return names;
}

void AccessibleHoverLabel::doAction(const QString& actionName) {
    if (actionName == pressAction()) label()->activate();
    else QAccessibleWidget::doAction(actionName);
}

}  // namespace quell::ui
