#include "ui/app/layout_map_overlay.h"

#include <QBitmap>
#include <QPainter>
#include <QRegion>
#include <QWindow>

#include "core/image/raster.h"
#include "ui/controls/image_conversion.h"

namespace quell::ui {

LayoutMapOverlay::LayoutMapOverlay(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("layoutMapOverlay"));
    // Clicks and the pointer's hover go to the skin beneath.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NativeWindow);
    setFocusPolicy(Qt::NoFocus);
}

void LayoutMapOverlay::setMap(const skin::LayoutMap& map) {
    image::PixelImage canvas = image::MakeFilledImage(map.frameWidth, map.frameHeight, 0);
    skin::DrawLayoutMap(map, canvas);
    m_picture = toQImage(canvas);
    setGeometry(0, 0, map.frameWidth, map.frameHeight);
    // The shape is every drawn pixel; a window of its own cannot be
    // translucent over its siblings, so the rest is cut away.
    if (!m_picture.isNull()) setMask(QRegion(QBitmap::fromImage(m_picture.createAlphaMask())));
    update();
}

void LayoutMapOverlay::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // A window of its own takes the pointer over its lines and numbers unless
    // the window system is told to pass it through to the skin beneath; the
    // window exists once the overlay is first shown.
    if (QWindow* window = windowHandle()) window->setFlag(Qt::WindowTransparentForInput);
}

void LayoutMapOverlay::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, m_picture);
}

}  // namespace quell::ui
