#include "core/history/browser_kind.h"

#include <string>

namespace quell::history {

const char* BrowserKindName(BrowserKind kind) {
    switch (kind) {
    case BrowserKind::Firefox: return "firefox";
    case BrowserKind::Chromium: return "chromium";
    case BrowserKind::Chrome: return "chrome";
    case BrowserKind::None: break;
    }
    return "none";
}

BrowserKind BrowserKindOfDesktopId(std::string_view desktopId) {
    std::string id(desktopId);
    for (char& c : id) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    if (id.find("firefox") != std::string::npos || id.find("iceweasel") != std::string::npos)
        return BrowserKind::Firefox;
    if (id.find("chromium") != std::string::npos) return BrowserKind::Chromium;
    if (id.find("chrome") != std::string::npos) return BrowserKind::Chrome;
    return BrowserKind::None;
}

}  // namespace quell::history
