#include "ui/mainwindow/window_menus.h"

#include <QAction>
#include <QMenu>

#include <map>
#include <string>
#include <vector>

#include "core/browser/menus.h"
#include "ui/app/core_qt.h"

namespace quell::ui {

namespace {

void fillMenu(QMenu* target, const std::vector<browser::MenuItem>& items,
              std::map<int, browser::MenuItemState>& states) {
    for (const browser::MenuItem& item : items) {
        if (item.isSeparator()) {
            target->addSeparator();
        } else if (!item.submenu.empty()) {
            fillMenu(target->addMenu(toQString(std::string(item.caption))), item.submenu, states);
        } else {
            QAction* action = target->addAction(toQString(std::string(item.caption)));
            action->setData(item.id);
            const browser::MenuItemState& state = states[item.id];
            action->setEnabled(state.enabled);
            if (state.checked) {
                action->setCheckable(true);
                action->setChecked(true);
            }
        }
    }
}

}  // namespace

void RunPopupMenu(QWidget* parent, browser::CommandDispatcher& dispatcher, int menuId, QPoint at) {
    const browser::Menu& source = browser::MenuById(menuId);
    QMenu menu(parent);
    menu.setTitle(toQString(std::string(source.title)));
    std::map<int, browser::MenuItemState> states = dispatcher.PopupItemStates(menuId);
    fillMenu(&menu, source.items, states);
    QAction* chosen = menu.exec(at);
    if (chosen && chosen->data().isValid()) dispatcher.RunMenuCommand(chosen->data().toInt());
}

SystemMenuChoice RunSystemMenu(QWidget* parent, QPoint at, bool maximized) {
    QMenu menu(parent);
    QAction* restore = menu.addAction(QStringLiteral("Restore"));
    QAction* moveAction = menu.addAction(QStringLiteral("Move"));
    QAction* minimize = menu.addAction(QStringLiteral("Minimize"));
    QAction* maximize = menu.addAction(QStringLiteral("Maximize"));
    menu.addSeparator();
    QAction* closeAction = menu.addAction(QStringLiteral("Close"));
    menu.addSeparator();
    QAction* about = menu.addAction(QStringLiteral("About Quellcore (&A)..."));
    restore->setEnabled(maximized);
    maximize->setEnabled(!maximized);
    moveAction->setEnabled(!maximized);
    QAction* chosen = menu.exec(at);
    if (chosen == restore) return SystemMenuChoice::Restore;
    if (chosen == moveAction) return SystemMenuChoice::Move;
    if (chosen == minimize) return SystemMenuChoice::Minimize;
    if (chosen == maximize) return SystemMenuChoice::Maximize;
    if (chosen == closeAction) return SystemMenuChoice::Close;
    if (chosen == about) return SystemMenuChoice::About;
    return SystemMenuChoice::None;
}

}  // namespace quell::ui
