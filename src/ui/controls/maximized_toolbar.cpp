#include "ui/controls/maximized_toolbar.h"

#include <QPalette>
#include <QResizeEvent>

#include "core/browser/toolbar_layout.h"
#include "core/control_ids.h"
#include "ui/controls/control_id.h"
#include "ui/controls/font_height.h"
#include "ui/controls/image_conversion.h"
#include "ui/controls/resource_bitmap_button.h"

namespace quell::ui {

MaximizedToolbar::MaximizedToolbar(const std::vector<std::string>& history, AddressCombo::NavigateFn navigate,
                                   browser::CommandSink* dispatcher, QWidget* parent)
    : QWidget(parent) {
    QPalette grey = palette();
    grey.setColor(QPalette::Window, colourFromValue(browser::kToolbarGrey));
    setPalette(grey);
    setAutoFillBackground(true);
    setAccessibleName(QStringLiteral("Toolbar"));

    for (const browser::ToolbarButtonSpec& layout : browser::kToolbarButtons) {
        ResourceBitmapButton* b = ResourceBitmapButton::CreateResourceButton(layout.controlId, layout.firstBitmap,
                                                                             layout.x, layout.y, this, dispatcher);
        if (!b) continue;
        b->setToolTipText(QString::fromUtf8(layout.tooltip.data(), static_cast<qsizetype>(layout.tooltip.size())));
        m_buttons[layout.controlId] = b;
    }

    m_combo = new AddressCombo(history, std::move(navigate), this);
    setControlId(m_combo, ids::kToolbarAddressBar);
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(fontPixelHeight(10));
    m_combo->setFont(arial);
    // The combo keeps its creation width; its height is the edit field's own,
    // the dropped list takes the rest of the original rectangle.
    m_combo->setGeometry(browser::kToolbarComboLeft, browser::kToolbarComboTop,
                         browser::kToolbarComboRight - browser::kToolbarComboLeft, m_combo->sizeHint().height());
    m_combo->setMaxVisibleItems(19);
}

ResourceBitmapButton* MaximizedToolbar::button(int controlId) const {
    auto it = m_buttons.find(controlId);
    return it == m_buttons.end() ? nullptr : it->second;
}

void MaximizedToolbar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const browser::ToolbarRightGroup group = browser::LayoutToolbarRightGroup(event->size().width());
    if (ResourceBitmapButton* b = button(commands::kToolbarMinimize)) b->move(group.minimize.x, group.minimize.y);
    if (ResourceBitmapButton* b = button(commands::kToolbarExit)) b->move(group.exit.x, group.exit.y);
    m_combo->move(group.combo.x, group.combo.y);
}

}  // namespace quell::ui
