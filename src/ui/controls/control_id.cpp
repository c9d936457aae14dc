#include "ui/controls/control_id.h"

#include <QVariant>

namespace quell::ui {

namespace {
constexpr const char* kControlIdProperty = "quellControlId";
}

void setControlId(QWidget* widget, int id) {
    if (widget) widget->setProperty(kControlIdProperty, id);
}

int controlId(const QWidget* widget) { return widget ? widget->property(kControlIdProperty).toInt() : 0; }

}  // namespace quell::ui
