#pragma once
// The main window's menus: the File, Edit and View pop-ups built from the
// command tables, and the system menu a frameless window has no other way to
// show.
#include <QPoint>

#include "core/browser/command_dispatcher.h"

class QWidget;

namespace quell::ui {

// Shows the pop-up menu menuId at the screen point and runs the chosen item
// through the dispatcher.
void RunPopupMenu(QWidget* parent, browser::CommandDispatcher& dispatcher, int menuId, QPoint at);

enum class SystemMenuChoice { None, Restore, Move, Minimize, Maximize, Close, About };

// Shows the system menu at the screen point and says what was chosen.
SystemMenuChoice RunSystemMenu(QWidget* parent, QPoint at, bool maximized);

}  // namespace quell::ui
