#pragma once
// The browser's status text over the frame: one left-aligned line in the
// chosen colour on the button-face colour, deaf to the mouse.
#include <QWidget>

#include <cstdint>

namespace quell::ui {

class StatusTextControl : public QWidget {
    Q_OBJECT
public:
    explicit StatusTextControl(QWidget* parent = nullptr);

    // A skin colour value; -1 is the system's button-text colour.
    void SetTextColour(int64_t colour);
    void setText(const QString& text);
    // Over the skin's frame the text is drawn without a background, so the
    // frame shows through.
    void setTransparentBackground(bool transparent);
    QString text() const { return m_text; }
    QColor textColour() const { return m_textColour; }
    QColor backgroundColour() const { return m_backgroundColour; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QString m_text;
    QColor m_textColour;
    QColor m_backgroundColour;
    bool m_transparent = false;
};

}  // namespace quell::ui
