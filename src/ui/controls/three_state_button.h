#pragma once
// The press/hover/normal state machine shared by the skin's bitmap buttons
// and the program's own toolbar buttons. A click is a press and a release
// both inside the button; a 10 ms leave check returns the button to normal
// once the pointer is elsewhere, even while a press is held. From the
// keyboard the button is a tab stop that Space or Enter presses.
#include <QTimer>
#include <QWidget>

namespace quell::ui {

class ThreeStateButton : public QWidget {
    Q_OBJECT
public:
    enum State { Normal = 0, Hover = 1, Pressed = 2 };

    int state() const { return m_state; }
    bool leaveTimerRunning() const { return m_leaveTimer.isActive(); }
    // A button that ignores the mouse entirely (the Photo picture).
    bool isInert() const { return m_inert; }
    // Runs what a click runs, for the keyboard and for assistive tools; an
    // inert or disabled button does nothing.
    void press();

protected:
    explicit ThreeStateButton(QWidget* parent);

    void setInert(bool inert);

    virtual void onPressed() {}
    virtual void onClicked() = 0;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // Subclasses paint this last: the system's focus rectangle, only while
    // the focus is there because of the keyboard.
    void drawKeyboardFocus(QPainter& painter);

private:
    void setState(State state);
    void checkPointerLeft();

    bool m_inert = false;
    bool m_holdsPress = false;
    bool m_keyboardFocus = false;
    State m_state = Normal;
    QTimer m_leaveTimer;
};

}  // namespace quell::ui
