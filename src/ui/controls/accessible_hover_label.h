#pragma once
// What assistive tools see of a hover text label: a link when it runs a
// command, plain text when its keyword is unknown, named by its caption
// without the '&' that marks the underlined letter.
#include <QAccessibleWidget>

namespace quell::ui {

class HoverLabel;

class AccessibleHoverLabel : public QAccessibleWidget {
public:
    explicit AccessibleHoverLabel(HoverLabel* label);

    QAccessible::Role role() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    HoverLabel* label() const;
};

}  // namespace quell::ui
