#pragma once
// The web browsers whose typed-address history the address bar can offer.
#include <string_view>

namespace quell::history {

enum class BrowserKind { None, Firefox, Chromium, Chrome };

// "firefox", "chromium", "chrome"; "none" for None.
const char* BrowserKindName(BrowserKind kind);

// The browser a desktop entry id ("firefox-esr.desktop",
// "org.mozilla.firefox.desktop", "chromium.desktop",
// "google-chrome.desktop") starts; None for any other.
BrowserKind BrowserKindOfDesktopId(std::string_view desktopId);

}  // namespace quell::history
