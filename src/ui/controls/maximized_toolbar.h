#pragma once
// The plain toolbar shown across the top while the main window is maximized:
// twelve picture buttons, an address bar, on light grey.
#include <QWidget>

#include <map>
#include <string>
#include <vector>

#include "core/browser/command_sink.h"
#include "ui/mainwindow/address_combo.h"

namespace quell::ui {

class ResourceBitmapButton;

class MaximizedToolbar : public QWidget {
    Q_OBJECT
public:
    MaximizedToolbar(const std::vector<std::string>& history, AddressCombo::NavigateFn navigate,
                     browser::CommandSink* dispatcher, QWidget* parent = nullptr);

    // Null for an id that is not one of the toolbar's buttons.
    ResourceBitmapButton* button(int controlId) const;
    AddressCombo* addressCombo() const { return m_combo; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    AddressCombo* m_combo = nullptr;
    std::map<int, ResourceBitmapButton*> m_buttons;
};

}  // namespace quell::ui
