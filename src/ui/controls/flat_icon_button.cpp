#include "ui/controls/flat_icon_button.h"

#include <QEnterEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

#include <algorithm>

namespace quell::ui {

namespace {

// Lines in the way the platform's line drawing sets pixels: from the first
// point up to, not including, the second; each of these is axis-aligned.
void line(QPainter& p, const QColor& colour, int x1, int y1, int x2, int y2) {
    if (x1 == x2 && y1 == y2) return;
    if (x1 == x2) {
        int step = y2 > y1 ? 1 : -1;
        int top = std::min(y1, y2 - step);
        p.fillRect(x1, top, 1, std::abs(y2 - y1), colour);
    } else {
        int step = x2 > x1 ? 1 : -1;
        int left = std::min(x1, x2 - step);
        p.fillRect(left, y1, std::abs(x2 - x1), 1, colour);
    }
}

// A polyline of two segments a -> b -> c.
void corner(QPainter& p, const QColor& colour, QPoint a, QPoint b, QPoint c) {
    line(p, colour, a.x(), a.y(), b.x(), b.y());
    line(p, colour, b.x(), b.y(), c.x(), c.y());
}

}  // namespace

FlatIconButton::FlatIconButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    setFlat(true);
    setAutoDefault(false);
    setMouseTracking(true);
    resetActiveColours(false);
    resetInactiveColours(false);
}

void FlatIconButton::setIcons(const QIcon& active, const QIcon& inactive, int width, int height) {
    m_activeIcon = active;
    m_inactiveIcon = inactive.isNull() ? active : inactive;
    m_iconWidth = width;
    m_iconHeight = height;
    repaint();
}

void FlatIconButton::setIconAlignment(IconAlignment alignment) {
    m_alignment = alignment;
    update();
}

void FlatIconButton::setShowCaption(bool show) {
    m_showCaption = show;
    update();
}

void FlatIconButton::setDrawBorder(bool draw) {
    m_drawBorder = draw;
    update();
}

void FlatIconButton::setFocusRectWhenFlat(bool draw) {
    m_focusRectWhenFlat = draw;
    update();
}

void FlatIconButton::repaintIf(bool repaint) {
    if (repaint) update();
}

void FlatIconButton::setActiveTextColour(const QColor& colour, bool repaint) {
    m_activeText = colour;
    repaintIf(repaint);
}

void FlatIconButton::setInactiveTextColour(const QColor& colour, bool repaint) {
    m_inactiveText = colour;
    repaintIf(repaint);
}

void FlatIconButton::setActiveBackgroundColour(const QColor& colour, bool repaint) {
    m_activeBackground = colour;
    repaintIf(repaint);
}

void FlatIconButton::setInactiveBackgroundColour(const QColor& colour, bool repaint) {
    m_inactiveBackground = colour;
    repaintIf(repaint);
}

void FlatIconButton::resetActiveColours(bool repaint) {
    m_activeBackground = palette().color(QPalette::Button);
    m_activeText = palette().color(QPalette::ButtonText);
    repaintIf(repaint);
}

void FlatIconButton::resetInactiveColours(bool repaint) {
    m_inactiveBackground = palette().color(QPalette::Button);
    m_inactiveText = palette().color(QPalette::ButtonText);
    repaintIf(repaint);
}

void FlatIconButton::setPointerOver(bool over) {
    if (m_pointerOver == over) return;
    m_pointerOver = over;
    update();
}

void FlatIconButton::enterEvent(QEnterEvent* event) {
    QPushButton::enterEvent(event);
    // A press that began elsewhere and slides in does not light the button.
    bool leftHeld = QGuiApplication::mouseButtons() & Qt::LeftButton;
    if (isFlat() && !leftHeld) setPointerOver(true);
}

void FlatIconButton::leaveEvent(QEvent* event) {
    QPushButton::leaveEvent(event);
    setPointerOver(false);
}

void FlatIconButton::mouseMoveEvent(QMouseEvent* event) {
    QPushButton::mouseMoveEvent(event);
    if (!isFlat()) return;
    bool inside = rect().contains(event->position().toPoint());
    // While the button holds the pointer (a press in progress) the leave
    // arrives late, so moving off is noticed here.
    if (!inside) setPointerOver(false);
    else if (!(event->buttons() & Qt::LeftButton)) setPointerOver(true);
}

void FlatIconButton::focusOutEvent(QFocusEvent* event) {
    QPushButton::focusOutEvent(event);
    if (isFlat()) setPointerOver(false);
}

void FlatIconButton::drawEdges(QPainter& p, const QRect& r, bool selected) const {
    const QPalette& pal = palette();
    // Exclusive right and bottom, as the edge geometry is written.
    const int left = r.left(), top = r.top(), right = r.right() + 1, bottom = r.bottom() + 1;
    const QColor highlight = pal.color(QPalette::Light);
    const QColor shadow = pal.color(QPalette::Dark);
    if (selected) {
        if (!isFlat()) {
            p.setPen(shadow);
            p.setBrush(Qt::NoBrush);
            p.drawRect(r.adjusted(0, 0, -1, -1));
        } else if (m_drawBorder) {
            corner(p, shadow, {left, bottom - 1}, {left, top}, {right, top});
            corner(p, highlight, {left, bottom - 1}, {right - 1, bottom - 1}, {right - 1, top - 1});
        }
        return;
    }
    if (!isFlat()) {
        corner(p, highlight, {left, bottom - 1}, {left, top}, {right, top});
        corner(p, pal.color(QPalette::Midlight), {left + 1, bottom - 1}, {left + 1, top + 1}, {right, top + 1});
        corner(p, pal.color(QPalette::Shadow), {left, bottom - 1}, {right - 1, bottom - 1}, {right - 1, top - 1});
        corner(p, shadow, {left + 1, bottom - 2}, {right - 2, bottom - 2}, {right - 2, top});
    } else if (m_pointerOver && m_drawBorder) {
        corner(p, highlight, {left, bottom - 1}, {left, top}, {right, top});
        corner(p, shadow, {left, bottom - 1}, {right - 1, bottom - 1}, {right - 1, top - 1});
    }
}

void FlatIconButton::drawIcon(QPainter& p, const QRect& r, bool hasCaption, bool active, bool selected,
                              QRect& caption) const {
    if (m_activeIcon.isNull()) return;
    QPoint at;
    if (m_alignment == IconAlignment::LeftOfCaption) {
        if (hasCaption) {
            at.setX(r.left() + 3);
            caption.setLeft(caption.left() + m_iconWidth + 3);
        } else {
            at.setX(r.left() + (r.width() - m_iconWidth) / 2);
        }
        at.setY(r.top() + (r.height() - m_iconHeight) / 2);
    } else {
        at.setX(r.left() + (r.width() - m_iconWidth) / 2);
        if (hasCaption) {
            caption.setTop(caption.top() + m_iconHeight);
            at.setY(r.top());
        } else {
            at.setY(r.top() + (r.height() - m_iconHeight) / 2);
        }
    }
    if (selected) at += QPoint(1, 1);
    const QIcon& icon = active ? m_activeIcon : m_inactiveIcon;
    QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
    p.drawPixmap(at, icon.pixmap(QSize(m_iconWidth, m_iconHeight), devicePixelRatioF(), mode));
}

void FlatIconButton::drawCaption(QPainter& p, QRect c, const QString& text, bool active, bool selected) const {
    if (selected) c.translate(1, 1);
    p.setFont(font());
    const int flags = Qt::TextSingleLine | Qt::TextShowMnemonic | Qt::AlignLeft | Qt::AlignTop;
    QRect measured = p.fontMetrics().boundingRect(c, flags, text);
    // Keep the text's own size at C's top-left, centred vertically in C and
    // free to run past its right edge (never wrapped).
    QRect textRect(c.left(), c.top() + (c.height() - measured.height()) / 2, measured.width(), measured.height());
    if (!isEnabled()) {
        p.setPen(palette().color(QPalette::Light));
        p.drawText(textRect.translated(1, 1), flags | Qt::TextDontClip, text);
        p.setPen(palette().color(QPalette::Dark));
    } else {
        p.setPen(active ? m_activeText : m_inactiveText);
    }
    p.drawText(textRect, flags | Qt::TextDontClip, text);
}

void FlatIconButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QRect r = rect();
    const bool selected = isDown();
    const bool active = m_pointerOver || selected;
    const bool focused = hasFocus();

    if (!isFlat() && focused) {
        p.setPen(Qt::black);
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
    }
    p.fillRect(r, active ? m_activeBackground : m_inactiveBackground);
    drawEdges(p, r, selected);

    const QString caption = m_showCaption ? text() : QString();
    QRect c = r;
    drawIcon(p, r, !caption.isEmpty(), active, selected, c);
    if (!caption.isEmpty()) drawCaption(p, c, caption, active, selected);

    if (focused && (!isFlat() || m_focusRectWhenFlat)) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = r.adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &p, this);
    }
}

}  // namespace quell::ui
