#pragma once
// The main window's links to the music and bookmark modules, kept in one
// place so the window itself depends only on these two calls.
#include <QString>
#include <QWidget>

#include <string>

namespace quell::platform {
class SynthesizerLoad;
}

namespace quell::ui {

// Whether the skin names music to play.
bool SkinHasMusic(const std::string& skinIniPath);

// Starts the skin's [Sound] music under parent, through the synthesizer the
// load made; null when there is none or it cannot play.
QWidget* StartMusicFor(QWidget* parent, const std::string& skinIniPath, const std::string& mediaFolder,
                       platform::SynthesizerLoad& load);

// Runs the bookmark dialog modally; the address chosen, empty when none.
std::string RunBookmarkDialogFor(QWidget* parent, const QString& pageTitle, const QString& pageUrl);

}  // namespace quell::ui
