#include "core/history/default_browser.h"

#include <gtest/gtest.h>

#include "support/browser_databases.h"

namespace quell::history {
namespace {

TEST(BrowserKind, FollowsTheDesktopEntryIdsBrowsersInstall) {
    const std::pair<const char*, BrowserKind> cases[] = {
        {"firefox-esr.desktop", BrowserKind::Firefox},
        {"firefox.desktop", BrowserKind::Firefox},
        {"org.mozilla.firefox.desktop", BrowserKind::Firefox},
        {"chromium.desktop", BrowserKind::Chromium},
        {"org.chromium.Chromium.desktop", BrowserKind::Chromium},
        {"google-chrome.desktop", BrowserKind::Chrome},
        {"com.google.Chrome.desktop", BrowserKind::Chrome},
        {"org.gnome.Epiphany.desktop", BrowserKind::None},
        {"", BrowserKind::None},
    };
    for (const auto& [id, kind] : cases) {
        SCOPED_TRACE(id);
        EXPECT_EQ(BrowserKindOfDesktopId(id), kind);
    }
}

TEST(DefaultBrowser, MimeAppsFilesAreConsultedInTheDesktopsOrder) {
    DesktopEnvironment e;
    e.configHome = "/home/u/.config";
    e.dataHome = "/home/u/.local/share";
    e.configDirs = {"/etc/xdg"};
    e.dataDirs = {"/usr/share"};
    e.currentDesktops = {"kde"};
    EXPECT_EQ(MimeAppsListPaths(e),
              (std::vector<std::string>{
                  "/home/u/.config/kde-mimeapps.list", "/home/u/.config/mimeapps.list", "/etc/xdg/kde-mimeapps.list",
                  "/etc/xdg/mimeapps.list", "/home/u/.local/share/applications/kde-mimeapps.list",
                  "/home/u/.local/share/applications/mimeapps.list", "/usr/share/applications/kde-mimeapps.list",
                  "/usr/share/applications/mimeapps.list"}));
}

TEST(DefaultBrowser, TheHttpHandlerIsTheFirstIdOfTheDefaultApplicationsSection) {
    const std::pair<const char*, const char*> cases[] = {
        {"[Default Applications]\nx-scheme-handler/http=firefox-esr.desktop;chromium.desktop;\n",
         "firefox-esr.desktop"},
        {"[Added Associations]\nx-scheme-handler/http=chromium.desktop;\n[Default Applications]\n"
         "text/html=chromium.desktop\r\nx-scheme-handler/http = ;google-chrome.desktop\r\n",
         "google-chrome.desktop"},
        {"[Added Associations]\nx-scheme-handler/http=chromium.desktop;\n", ""},
        {"# only a comment\n", ""},
    };
    for (const auto& [text, id] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(DefaultHttpHandler(KeyFile::Parse(text)), id);
    }
}

TEST(FirefoxProfiles, TheDefaultProfileIsTheInstallsThenTheMarkedThenTheFirst) {
    const std::pair<const char*, const char*> cases[] = {
        {"[Profile1]\nName=other\nIsRelative=1\nPath=Profiles/other\nDefault=1\n\n"
         "[Profile0]\nName=default-release\nIsRelative=1\nPath=Profiles/abc.default-release\n\n"
         "[Install4F96D1932A9F858E]\nDefault=Profiles/abc.default-release\nLocked=1\n",
         "/ff/Profiles/abc.default-release"},
        {"[General]\nStartWithLastProfile=1\n[Profile0]\nPath=first\nIsRelative=1\n"
         "[Profile1]\nPath=/elsewhere/marked\nIsRelative=0\nDefault=1\n",
         "/elsewhere/marked"},
        {"[Profile0]\nPath=first\n[Profile1]\nPath=second\n", "/ff/first"},
        {"[General]\nVersion=2\n", ""},
    };
    for (const auto& [text, profile] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(FirefoxDefaultProfile(KeyFile::Parse(text), "/ff"), profile);
    }
}

// A home folder with the profiles of any of the three browsers.
struct Desktop {
    test::ScratchFolder home{"quell-history-home"};
    DesktopEnvironment environment;
    int asked = 0;

    Desktop() {
        environment.home = home.path();
        environment.configHome = home.file(".config");
        environment.dataHome = home.file(".local/share");
        environment.askDesktop = [this] {
            ++asked;
            return std::string("chromium.desktop");
        };
    }
    std::string firefox() {
        test::writeText(home.file(".mozilla/firefox/profiles.ini"),
                        "[Profile0]\nName=default\nIsRelative=1\nPath=x.default\nDefault=1\n");
        test::writeText(home.file(".mozilla/firefox/x.default/places.sqlite"), "");
        return home.file(".mozilla/firefox/x.default/places.sqlite");
    }
    std::string chromium() {
        test::writeText(home.file(".config/chromium/Default/History"), "");
        return home.file(".config/chromium/Default/History");
    }
    std::string chrome() {
        test::writeText(home.file(".config/google-chrome/Default/History"), "");
        return home.file(".config/google-chrome/Default/History");
    }
    void defaultBrowser(const std::string& id) {
        test::writeText(home.file(".config/mimeapps.list"),
                        "[Default Applications]\nx-scheme-handler/http=" + id + "\n");
    }
};

TEST(TypedHistoryLocation, TheDefaultBrowsersDatabaseElseTheFirstThatExists) {
    {
        Desktop d;
        EXPECT_EQ(FindTypedHistory(d.environment).kind, BrowserKind::None);
        EXPECT_EQ(d.asked, 0) << "nobody is asked when no browser has a history";
    }
    {
        Desktop d;
        d.firefox();
        const std::string chrome = d.chrome();
        d.defaultBrowser("google-chrome.desktop;");
        const HistoryLocation found = FindTypedHistory(d.environment);
        EXPECT_EQ(found.kind, BrowserKind::Chrome);
        EXPECT_EQ(found.path, chrome);
        EXPECT_EQ(d.asked, 0);
    }
    {
        // A default without a profile, or one not known here, falls back in order.
        Desktop d;
        const std::string chromium = d.chromium();
        d.chrome();
        d.defaultBrowser("firefox-esr.desktop");
        EXPECT_EQ(FindTypedHistory(d.environment).path, chromium);
        d.defaultBrowser("org.gnome.Epiphany.desktop");
        EXPECT_EQ(FindTypedHistory(d.environment).path, chromium);
    }
    {
        // Without a mimeapps.list the desktop decides, and only when it has to.
        Desktop d;
        const std::string firefox = d.firefox();
        EXPECT_EQ(FindTypedHistory(d.environment).path, firefox);
        EXPECT_EQ(d.asked, 0);
        const std::string chromium = d.chromium();
        EXPECT_EQ(FindTypedHistory(d.environment).path, chromium);
        EXPECT_EQ(d.asked, 1);
    }
}

TEST(TypedHistoryLocation, SnapAndFlatpakProfilesAreFoundAfterTheNativeOnes) {
    struct Case {
        BrowserKind kind;
        const char* profilesIni;  // below the home folder, for Firefox
        const char* database;     // below the home folder
    };
    const Case cases[] = {
        {BrowserKind::Firefox, "snap/firefox/common/.mozilla/firefox/profiles.ini",
         "snap/firefox/common/.mozilla/firefox/p/places.sqlite"},
        {BrowserKind::Firefox, ".var/app/org.mozilla.firefox/.mozilla/firefox/profiles.ini",
         ".var/app/org.mozilla.firefox/.mozilla/firefox/p/places.sqlite"},
        {BrowserKind::Chromium, nullptr, "snap/chromium/common/chromium/Default/History"},
        {BrowserKind::Chromium, nullptr, ".var/app/org.chromium.Chromium/config/chromium/Default/History"},
        {BrowserKind::Chrome, nullptr, ".var/app/com.google.Chrome/config/google-chrome/Default/History"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.database);
        Desktop d;
        if (c.profilesIni) test::writeText(d.home.file(c.profilesIni), "[Profile0]\nPath=p\nDefault=1\n");
        test::writeText(d.home.file(c.database), "");
        EXPECT_EQ(HistoryDatabasePath(c.kind, d.environment), d.home.file(c.database));
        const std::string native = c.kind == BrowserKind::Firefox    ? d.firefox()
                                   : c.kind == BrowserKind::Chromium ? d.chromium()
                                                                     : d.chrome();
        EXPECT_EQ(HistoryDatabasePath(c.kind, d.environment), native);
    }
}

}  // namespace
}  // namespace quell::history
