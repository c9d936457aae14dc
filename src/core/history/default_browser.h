#pragma once
// Which web browser is the user's default, and where it keeps the history of
// the addresses typed into it, from the desktop's own settings.
#include <functional>
#include <string>
#include <vector>

#include "core/history/browser_kind.h"
#include "core/history/key_file.h"

namespace quell::history {

// What the lookup reads of the process's environment, gathered in one place
// so that a test can describe a whole desktop.
struct DesktopEnvironment {
    std::string home;                          // $HOME
    std::string configHome;                    // $XDG_CONFIG_HOME, else $HOME/.config
    std::string dataHome;                      // $XDG_DATA_HOME, else $HOME/.local/share
    std::vector<std::string> configDirs;       // $XDG_CONFIG_DIRS, else /etc/xdg
    std::vector<std::string> dataDirs;         // $XDG_DATA_DIRS, else /usr/local/share, /usr/share
    std::vector<std::string> currentDesktops;  // $XDG_CURRENT_DESKTOP, lower-cased
    // The desktop's answer to "which is the default web browser" (a desktop
    // entry id), empty when it has none.
    std::function<std::string()> askDesktop;

    // The running process's environment; askDesktop runs xdg-settings.
    static DesktopEnvironment FromProcess();
};

// The mimeapps.list files in the order the desktop consults them.
std::vector<std::string> MimeAppsListPaths(const DesktopEnvironment& environment);

// The first desktop entry id the file's [Default Applications] section names
// for x-scheme-handler/http; empty when it names none.
std::string DefaultHttpHandler(const KeyFile& mimeApps);

// The default web browser's desktop entry id from the first mimeapps.list
// naming one; empty when none does.
std::string DefaultBrowserFromMimeApps(const DesktopEnvironment& environment);

// The folder of Firefox's default profile described by profiles.ini (which
// lies in iniFolder): the profile its first Install section names, else the
// one marked Default=1, else the first. Empty when the file lists none.
std::string FirefoxDefaultProfile(const KeyFile& profilesIni, const std::string& iniFolder);

// Where the browser keeps its history database, when that file exists;
// empty otherwise.
std::string HistoryDatabasePath(BrowserKind kind, const DesktopEnvironment& environment);

struct HistoryLocation {
    BrowserKind kind = BrowserKind::None;
    std::string path;
};

// The default browser's history database when it is one of the browsers
// known here and has one; else the first of Firefox, Chromium and Chrome
// whose database exists; else kind None. The desktop is asked which browser
// is the default only when no mimeapps.list says and more than one has a
// database.
HistoryLocation FindTypedHistory(const DesktopEnvironment& environment);

}  // namespace quell::history
