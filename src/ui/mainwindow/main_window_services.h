#pragma once
// The main window's links to the music and bookmark modules, kept in one
// place so the window itself depends only on these two calls.
#include <QString>
#include <QWidget>

#include <string>

namespace quell::ui {

// Starts the skin's [Sound] music under parent; null when there is none.
QWidget* StartMusicFor(QWidget* parent, const std::string& skinIniPath, const std::string& mediaFolder);

// Runs the bookmark dialog modally; the address chosen, empty when none.
std::string RunBookmarkDialogFor(QWidget* parent, const QString& pageTitle, const QString& pageUrl);

}  // namespace quell::ui
