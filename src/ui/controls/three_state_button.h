#pragma once
// The press/hover/normal state machine shared by the skin's bitmap buttons
// and the program's own toolbar buttons. A click is a press and a release
// both inside the button; a 10 ms leave check returns the button to normal
// once the pointer is elsewhere, even while a press is held.
#include <QTimer>
#include <QWidget>

namespace quell::ui {

class ThreeStateButton : public QWidget {
    Q_OBJECT
public:
    enum State { Normal = 0, Hover = 1, Pressed = 2 };

    int state() const { return m_state; }
    bool leaveTimerRunning() const { return m_leaveTimer.isActive(); }

protected:
    explicit ThreeStateButton(QWidget* parent);

    // A button that ignores the mouse entirely (the Photo picture).
    void setInert(bool inert) { m_inert = inert; }
    bool inert() const { return m_inert; }

    virtual void onPressed() {}
    virtual void onClicked() = 0;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void setState(State state);
    void checkPointerLeft();

    bool m_inert = false;
    bool m_holdsPress = false;
    State m_state = Normal;
    QTimer m_leaveTimer;
};

}  // namespace quell::ui
