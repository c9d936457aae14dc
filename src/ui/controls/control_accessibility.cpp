#include "ui/controls/control_accessibility.h"

#include <QAccessibleWidget>

#include "ui/controls/accessible_bitmap_button.h"
#include "ui/controls/accessible_hover_label.h"
#include "ui/controls/accessible_status_text.h"
#include "ui/controls/gif_animator.h"
#include "ui/controls/hover_label.h"
#include "ui/controls/status_text_control.h"
#include "ui/controls/three_state_button.h"

namespace quell::ui {
namespace {

bool isClass(const QString& className, const QMetaObject& meta) {
    return className == QLatin1StringView(meta.className());
}

}  // namespace

QAccessibleInterface* controlAccessibleInterface(const QString& className, QObject* object) {
    // Qt asks about objects that are being destroyed too: the class name is
    // looked at before the object is touched.
    if (!object) return nullptr;
    // Each class is answered at its own level of the ancestry, so the
    // subclasses of ThreeStateButton share one interface.
    if (isClass(className, ThreeStateButton::staticMetaObject))
        return new AccessibleBitmapButton(static_cast<ThreeStateButton*>(object));
    if (isClass(className, HoverLabel::staticMetaObject))
        return new AccessibleHoverLabel(static_cast<HoverLabel*>(object));
    if (isClass(className, StatusTextControl::staticMetaObject))
        return new AccessibleStatusText(static_cast<StatusTextControl*>(object));
    if (isClass(className, GifAnimator::staticMetaObject))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Animation);
    return nullptr;
}

void installControlAccessibility() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(&controlAccessibleInterface);
}

}  // namespace quell::ui
