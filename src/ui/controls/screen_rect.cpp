#include "ui/controls/screen_rect.h"

#include <QCursor>

namespace quell::ui {

browser::ScreenRect screenRectOf(const QWidget* widget) {
    const QPoint topLeft = widget->mapToGlobal(QPoint(0, 0));
    return {topLeft.x(), topLeft.y(), topLeft.x() + widget->width(), topLeft.y() + widget->height()};
}

bool containsScreenPoint(const QWidget* widget, const QPoint& globalPos) {
    return widget->rect().contains(widget->mapFromGlobal(globalPos));
}

bool pointerInside(const QWidget* widget) {
    // A control that cannot be seen is never under the pointer, wherever the
    // pointer is: a minimized window keeps its place on the screen.
    if (!widget->isVisible() || widget->window()->isMinimized()) return false;
    return containsScreenPoint(widget, QCursor::pos());
}

}  // namespace quell::ui
