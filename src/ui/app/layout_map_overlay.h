#pragma once
// The skin preview's layout map over the live window: the outline and every
// element's numbered rectangle, drawn exactly as `quellkit skin map` draws
// them. The overlay is a window of its own shaped to its lines and numbers,
// so it shows above the address bar and the pictures, which have windows of
// their own, and leaves every other pixel to the skin beneath.
#include <QImage>
#include <QWidget>

#include "core/skin/layout_map.h"

namespace quell::ui {

class LayoutMapOverlay final : public QWidget {
    Q_OBJECT
public:
    explicit LayoutMapOverlay(QWidget* parent);

    // Draws the map afresh, at the frame's size in the parent's top-left corner.
    void setMap(const skin::LayoutMap& map);
    // The drawn map, transparent wherever the skin shows through.
    const QImage& picture() const { return m_picture; }

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
};

}  // namespace quell::ui
