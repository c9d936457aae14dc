#include "ui/mainwindow/main_window_services.h"

#include "core/skin/profile_file.h"
#include "core/skin/skin_model.h"
#include "platform/midi/synthesizer_load.h"
#include "ui/app/core_qt.h"
#include "ui/bookmarks/bookmark_dialog.h"
#include "ui/music/music_notify_window.h"
#include "ui/music/start_skin_music.h"

namespace quell::ui {

bool SkinHasMusic(const std::string& skinIniPath) {
    return !skin::ReadSkinMusic(skin::ProfileFile::Load(skinIniPath)).file.empty();
}

QWidget* StartMusicFor(QWidget* parent, const std::string& skinIniPath, const std::string& mediaFolder,
                       platform::SynthesizerLoad& load) {
    return StartSkinMusic(parent, skinIniPath, mediaFolder, [&load] { return load.takeStream(); });
}

std::string RunBookmarkDialogFor(QWidget* parent, const QString& pageTitle, const QString& pageUrl) {
    BookmarkDialog dialog(pageTitle, pageUrl, parent);
    if (dialog.exec() != QDialog::Accepted) return std::string();
    return toStdString(dialog.chosenUrl());
}

}  // namespace quell::ui
