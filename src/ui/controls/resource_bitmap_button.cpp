#include "ui/controls/resource_bitmap_button.h"

#include <QPainter>

#include "ui/controls/screen_rect.h"
#include "ui/controls/toolbar_pictures.h"

namespace quell::ui {

ResourceBitmapButton* ResourceBitmapButton::CreateResourceButton(int controlId, int firstBitmapId, int x, int y,
                                                                 QWidget* parent, browser::CommandSink* dispatcher) {
    std::array<QPixmap, 3> pictures;
    for (int i = 0; i < 3; ++i) {
        pictures[static_cast<size_t>(i)] = toolbarPicture(firstBitmapId + i);
        if (pictures[static_cast<size_t>(i)].isNull()) return nullptr;
    }
    auto* button = new ResourceBitmapButton(controlId, std::move(pictures), parent, dispatcher);
    button->setGeometry(x, y, button->m_pictures[0].width(), button->m_pictures[0].height());
    button->show();
    return button;
}

ResourceBitmapButton::ResourceBitmapButton(int controlId, std::array<QPixmap, 3> pictures, QWidget* parent,
                                           browser::CommandSink* dispatcher)
    : ThreeStateButton(parent), m_controlId(controlId), m_pictures(std::move(pictures)), m_dispatcher(dispatcher) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ResourceBitmapButton::setToolTipText(const QString& text) {
    setToolTip(text);
    setAccessibleName(text);
}

void ResourceBitmapButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_pictures[static_cast<size_t>(state())]);
    drawKeyboardFocus(painter);
}

void ResourceBitmapButton::onClicked() {
    if (m_dispatcher) m_dispatcher->DispatchCommand(m_controlId, 0, screenRectOf(this));
}

}  // namespace quell::ui
