#include "ui/controls/accessible_status_text.h"

#include <QFontMetrics>

#include "ui/controls/status_text_control.h"

namespace quell::ui {

AccessibleStatusText::AccessibleStatusText(StatusTextControl* status)
    : QAccessibleWidget(status, QAccessible::StatusBar) {}

StatusTextControl* AccessibleStatusText::status() const { return static_cast<StatusTextControl*>(widget()); }

void* AccessibleStatusText::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

void AccessibleStatusText::selection(int, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = 0;
}

QString AccessibleStatusText::text(int startOffset, int endOffset) const {
    const QString whole = status()->text();
    // An end of -1 asks for everything from the start offset on.
    if (endOffset < 0 || endOffset > whole.size()) endOffset = static_cast<int>(whole.size());
    if (startOffset < 0 || startOffset >= endOffset) return QString();
    return whole.mid(startOffset, endOffset - startOffset);
}

int AccessibleStatusText::characterCount() const { return static_cast<int>(status()->text().size()); }

// The text is drawn as one line from the control's top-left corner, so a
// character's box follows from the advances of the characters before it.
QRect AccessibleStatusText::characterRect(int offset) const {
    const QString whole = status()->text();
    if (offset < 0 || offset >= whole.size()) return QRect();
    const QFontMetrics metrics(status()->font());
    const int left = metrics.horizontalAdvance(whole.left(offset));
    const QRect local(left, 0, metrics.horizontalAdvance(whole.at(offset)), metrics.height());
    return QRect(status()->mapToGlobal(local.topLeft()), local.size());
}

int AccessibleStatusText::offsetAtPoint(const QPoint& point) const {
    const QString whole = status()->text();
    const QPoint local = status()->mapFromGlobal(point);
    const QFontMetrics metrics(status()->font());
    if (local.y() < 0 || local.y() >= metrics.height()) return -1;
    for (int i = 0; i < whole.size(); ++i) {
        if (local.x() < metrics.horizontalAdvance(whole.left(i + 1))) return local.x() < 0 ? -1 : i;
    }
    return -1;
}

QString AccessibleStatusText::attributes(int offset, int* startOffset, int* endOffset) const {
    // One run of plain text without attributes of its own.
    *startOffset = offset < 0 ? -1 : 0;
    *endOffset = offset < 0 ? -1 : characterCount();
    return QString();
}

}  // namespace quell::ui
