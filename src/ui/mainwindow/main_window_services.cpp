#include "ui/mainwindow/main_window_services.h"

#include "ui/music/music_notify_window.h"
#include "ui/music/start_skin_music.h"

namespace quell::ui {

QWidget* StartMusicFor(QWidget* parent, const std::string& skinIniPath, const std::string& mediaFolder) {
    return StartSkinMusic(parent, skinIniPath, mediaFolder);
}

std::string RunBookmarkDialogFor(QWidget*, const QString&, const QString&) { return std::string(); }

}  // namespace quell::ui
