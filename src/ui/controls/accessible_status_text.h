#pragma once
// What assistive tools see of the status text: a status bar whose name and
// text are the browser's status text, read-only, one line.
#include <QAccessibleWidget>

namespace quell::ui {

class StatusTextControl;

class AccessibleStatusText : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit AccessibleStatusText(StatusTextControl* status);

    void* interface_cast(QAccessible::InterfaceType type) override;

    // The text can be read but not selected or edited; the caret stays at 0.
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override;
    using QAccessibleWidget::text;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

private:
    StatusTextControl* status() const;
};

}  // namespace quell::ui
