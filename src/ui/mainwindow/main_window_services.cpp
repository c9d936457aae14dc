#include "ui/mainwindow/main_window_services.h"

namespace quell::ui {

QWidget* StartMusicFor(QWidget*, const std::string&, const std::string&) { return nullptr; }

std::string RunBookmarkDialogFor(QWidget*, const QString&, const QString&) { return std::string(); }

}  // namespace quell::ui
