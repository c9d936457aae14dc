#pragma once
// The control id a child of the main window carries, stored as one widget
// property so that every creator and every lookup agree on it.
#include <QWidget>

namespace quell::ui {

void setControlId(QWidget* widget, int id);
// 0 when the widget carries no id.
int controlId(const QWidget* widget);

}  // namespace quell::ui
