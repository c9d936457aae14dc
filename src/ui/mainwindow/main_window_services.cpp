#include "ui/mainwindow/main_window_services.h"

#include "ui/app/core_qt.h"
#include "ui/bookmarks/bookmark_dialog.h"
#include "ui/music/music_notify_window.h"
#include "ui/music/start_skin_music.h"

namespace quell::ui {

QWidget* StartMusicFor(QWidget* parent, const std::string& skinIniPath, const std::string& mediaFolder) {
    return StartSkinMusic(parent, skinIniPath, mediaFolder);
}

std::string RunBookmarkDialogFor(QWidget* parent, const QString& pageTitle, const QString& pageUrl) {
    BookmarkDialog dialog(pageTitle, pageUrl, parent);
    if (dialog.exec() != QDialog::Accepted) return std::string();
    return toStdString(dialog.chosenUrl());
}

}  // namespace quell::ui
