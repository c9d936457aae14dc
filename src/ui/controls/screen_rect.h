#pragma once
// Screen geometry shared by the controls' leave checks and dispatches.
#include <QPoint>
#include <QWidget>

#include "core/browser/command_sink.h"

namespace quell::ui {

// The widget's rectangle on the screen, right and bottom exclusive.
browser::ScreenRect screenRectOf(const QWidget* widget);

// True when the screen point lies inside the widget's current screen rectangle.
bool containsScreenPoint(const QWidget* widget, const QPoint& globalPos);

// The same for the pointer's position now.
bool pointerInside(const QWidget* widget);

}  // namespace quell::ui
