#pragma once
// Starts the skin's [Sound] music while the main window is being created.
#include <QWidget>

#include <string>

#include "ui/music/music_notify_window.h"

namespace quell::ui {

class MusicNotifyWindow;

// Reads [Sound] FileName and Repeat of the skin description, creates the
// invisible music window as a child of parent and plays. nullptr when no
// music is configured, the file cannot be read or the device cannot open:
// the program then simply plays nothing.
MusicNotifyWindow* StartSkinMusic(QWidget* parent, const std::string& skinIniPath, const std::string& mediaFolder);

// The same with another stream service (tests).
MusicNotifyWindow* StartSkinMusic(QWidget* parent, const std::string& skinIniPath, const std::string& mediaFolder,
                                  const MusicNotifyWindow::StreamFactory& makeStream);

}  // namespace quell::ui
