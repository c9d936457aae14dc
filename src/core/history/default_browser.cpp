#include "core/history/default_browser.h"

#include "core/os/command_output.h"
#include "core/os/file_system.h"
#include "core/skin/skin_values.h"

namespace quell::history {
namespace {

constexpr auto kDesktopAnswerTimeout = std::chrono::seconds(2);

std::vector<std::string> splitList(const std::string& text, char separator) {
    std::vector<std::string> items;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find(separator, start), text.size());
        if (end > start) items.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return items;
}

std::string orDefault(const std::string& value, const std::string& fallback) {
    return value.empty() ? fallback : value;
}

}  // namespace

DesktopEnvironment DesktopEnvironment::FromProcess() {
    DesktopEnvironment e;
    e.home = os::environment("HOME");
    e.configHome = os::userConfigHome();
    e.dataHome = os::userDataHome();
    e.configDirs = splitList(orDefault(os::environment("XDG_CONFIG_DIRS"), "/etc/xdg"), ':');
    e.dataDirs = splitList(orDefault(os::environment("XDG_DATA_DIRS"), "/usr/local/share:/usr/share"), ':');
    e.currentDesktops = splitList(skin::ToLowerAscii(os::environment("XDG_CURRENT_DESKTOP")), ':');
    e.askDesktop = [] {
        const auto answer = os::commandOutput({"xdg-settings", "get", "default-web-browser"}, kDesktopAnswerTimeout);
        return answer ? std::string(TrimBlanks(*answer)) : std::string();
    };
    return e;
}

std::vector<std::string> MimeAppsListPaths(const DesktopEnvironment& environment) {
    std::vector<std::string> paths;
    const auto addFolder = [&](const std::string& folder) {
        if (folder.empty()) return;
        for (const std::string& desktop : environment.currentDesktops)
            paths.push_back(folder + "/" + desktop + "-mimeapps.list");
        paths.push_back(folder + "/mimeapps.list");
    };
    addFolder(environment.configHome);
    for (const std::string& folder : environment.configDirs) addFolder(folder);
    addFolder(environment.dataHome.empty() ? std::string() : environment.dataHome + "/applications");
    for (const std::string& folder : environment.dataDirs) addFolder(folder + "/applications");
    return paths;
}

std::string DefaultHttpHandler(const KeyFile& mimeApps) {
    for (const KeyFile::Section& section : mimeApps.sections()) {
        if (section.name != "Default Applications") continue;
        for (const std::string& id : splitList(section.value("x-scheme-handler/http"), ';')) {
            const std::string name(TrimBlanks(id));
            if (!name.empty()) return name;
        }
    }
    return {};
}

std::string DefaultBrowserFromMimeApps(const DesktopEnvironment& environment) {
    for (const std::string& path : MimeAppsListPaths(environment)) {
        const std::string id = DefaultHttpHandler(KeyFile::Load(path));
        if (!id.empty()) return id;
    }
    return {};
}

std::string FirefoxDefaultProfile(const KeyFile& profilesIni, const std::string& iniFolder) {
    const auto resolve = [&](const KeyFile::Section& s, const std::string& path) {
        return s.value("IsRelative") == "0" || path.front() == '/' ? path : iniFolder + "/" + path;
    };
    for (const KeyFile::Section& s : profilesIni.sections()) {
        const std::string path = s.value("Default");
        // Install sections name the profile by its path and have no IsRelative.
        if (s.name.rfind("Install", 0) == 0 && !path.empty()) return resolve(s, path);
    }
    const KeyFile::Section* first = nullptr;
    for (const KeyFile::Section& s : profilesIni.sections()) {
        if (s.name.rfind("Profile", 0) != 0 || s.value("Path").empty()) continue;
        if (s.value("Default") == "1") return resolve(s, s.value("Path"));
        if (!first) first = &s;
    }
    return first ? resolve(*first, first->value("Path")) : std::string();
}

std::string HistoryDatabasePath(BrowserKind kind, const DesktopEnvironment& environment) {
    const std::string& home = environment.home;
    std::vector<std::string> candidates;
    switch (kind) {
    case BrowserKind::Firefox:
        // Firefox keeps its profiles in ~/.mozilla, newer releases in the
        // configuration folder; the snap and Flatpak packages in their own
        // folders below the home folder.
        for (const std::string& folder : {home + "/.mozilla/firefox", environment.configHome + "/mozilla/firefox",
                                          home + "/snap/firefox/common/.mozilla/firefox",
                                          home + "/.var/app/org.mozilla.firefox/.mozilla/firefox"}) {
            const std::string profile = FirefoxDefaultProfile(KeyFile::Load(folder + "/profiles.ini"), folder);
            if (!profile.empty()) candidates.push_back(profile + "/places.sqlite");
        }
        break;
    case BrowserKind::Chromium:
        candidates = {environment.configHome + "/chromium/Default/History",
                      home + "/snap/chromium/common/chromium/Default/History",
                      home + "/.var/app/org.chromium.Chromium/config/chromium/Default/History"};
        break;
    case BrowserKind::Chrome:
        candidates = {environment.configHome + "/google-chrome/Default/History",
                      home + "/.var/app/com.google.Chrome/config/google-chrome/Default/History"};
        break;
    case BrowserKind::None: break;
    }
    for (const std::string& path : candidates) {
        if (os::isRegularFile(path)) return path;
    }
    return {};
}

HistoryLocation FindTypedHistory(const DesktopEnvironment& environment) {
    std::vector<HistoryLocation> found;
    for (const BrowserKind kind : {BrowserKind::Firefox, BrowserKind::Chromium, BrowserKind::Chrome}) {
        std::string path = HistoryDatabasePath(kind, environment);
        if (!path.empty()) found.push_back({kind, std::move(path)});
    }
    if (found.empty()) return {};
    std::string id = DefaultBrowserFromMimeApps(environment);
    // Asking the desktop starts a program, which takes a noticeable part of
    // a second; its answer only matters when there is a choice.
    if (id.empty() && found.size() > 1 && environment.askDesktop) id = environment.askDesktop();
    const BrowserKind preferred = BrowserKindOfDesktopId(id);
    for (const HistoryLocation& location : found) {
        if (location.kind == preferred) return location;
    }
    return found.front();
}

}  // namespace quell::history
