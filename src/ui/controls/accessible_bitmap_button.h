#pragma once
// What assistive tools see of a three-state bitmap button (the skin's buttons,
// the Go button and the toolbar's): a push button named by its tooltip whose
// "Press" action runs what a click runs, pressed while the mouse holds it
// down. The Photo picture, which ignores the mouse, is a plain picture.
#include <QAccessibleWidget>

namespace quell::ui {

class ThreeStateButton;

class AccessibleBitmapButton : public QAccessibleWidget {
public:
    explicit AccessibleBitmapButton(ThreeStateButton* button);

    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    ThreeStateButton* button() const;
};

}  // namespace quell::ui
