#pragma once
// A three-state button showing the program's own pictures (first id, +1,
// +2) opaque, reporting a click to the dispatcher by its control id.
#include <QPixmap>

#include <array>

#include "core/browser/command_sink.h"
#include "ui/controls/three_state_button.h"

namespace quell::ui {

class ResourceBitmapButton : public ThreeStateButton {
    Q_OBJECT
public:
    // Null when a picture is missing; the button is then left out.
    static ResourceBitmapButton* CreateResourceButton(int controlId, int firstBitmapId, int x, int y, QWidget* parent,
                                                      browser::CommandSink* dispatcher);

    int controlId() const { return m_controlId; }
    // Sets the tooltip and the name a screen reader announces.
    void setToolTipText(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void onClicked() override;

private:
    ResourceBitmapButton(int controlId, std::array<QPixmap, 3> pictures, QWidget* parent,
                         browser::CommandSink* dispatcher);

    int m_controlId;
    std::array<QPixmap, 3> m_pictures;
    browser::CommandSink* m_dispatcher;
};

}  // namespace quell::ui
