#pragma once
// A push button drawn flat with an icon and a caption. It shows a thin raised
// edge and its "active" colours and icon while the pointer is over it, a
// sunken edge with the content moved one pixel down and right while pressed.
#include <QColor>
#include <QIcon>
#include <QPushButton>

namespace quell::ui {

class FlatIconButton : public QPushButton {
    Q_OBJECT

public:
    enum class IconAlignment { LeftOfCaption = 0, AboveCaption = 1 };

    explicit FlatIconButton(const QString& text, QWidget* parent = nullptr);

    // The inactive icon may be null: the active one is then shown in both states.
    void setIcons(const QIcon& active, const QIcon& inactive, int width, int height);
    void setIconAlignment(IconAlignment alignment);
    void setShowCaption(bool show);
    // In flat mode, draw the thin edges on hover and press.
    void setDrawBorder(bool draw);
    void setFocusRectWhenFlat(bool draw);

    void setActiveTextColour(const QColor& colour, bool repaint = true);
    void setInactiveTextColour(const QColor& colour, bool repaint = true);
    void setActiveBackgroundColour(const QColor& colour, bool repaint = true);
    void setInactiveBackgroundColour(const QColor& colour, bool repaint = true);
    // Back to the system's button face and button text colours.
    void resetActiveColours(bool repaint = true);
    void resetInactiveColours(bool repaint = true);

    bool isPointerOver() const { return m_pointerOver; }
    QColor activeTextColour() const { return m_activeText; }
    QColor inactiveTextColour() const { return m_inactiveText; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void setPointerOver(bool over);
    void drawEdges(QPainter& painter, const QRect& r, bool selected) const;
    void drawIcon(QPainter& painter, const QRect& r, bool hasCaption, bool active, bool selected, QRect& caption) const;
    void drawCaption(QPainter& painter, QRect caption, const QString& text, bool active, bool selected) const;
    void repaintIf(bool repaint);

    IconAlignment m_alignment = IconAlignment::LeftOfCaption;
    bool m_showCaption = true;
    bool m_drawBorder = true;
    bool m_pointerOver = false;
    bool m_focusRectWhenFlat = false;
    QIcon m_activeIcon;
    QIcon m_inactiveIcon;
    int m_iconWidth = 0;
    int m_iconHeight = 0;
    QColor m_inactiveBackground;
    QColor m_inactiveText;
    QColor m_activeBackground;
    QColor m_activeText;
};

}  // namespace quell::ui
