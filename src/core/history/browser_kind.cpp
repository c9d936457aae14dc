#include "core/history/browser_kind.h"

#include <string>

#include "core/skin/skin_values.h"

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
    const std::string id = skin::ToLowerAscii(desktopId);
    if (id.find("firefox") != std::string::npos || id.find("iceweasel") != std::string::npos)
        return BrowserKind::Firefox;
    if (id.find("chromium") != std::string::npos) return BrowserKind::Chromium;
    if (id.find("chrome") != std::string::npos) return BrowserKind::Chrome;
    return BrowserKind::None;
}

}  // namespace quell::history
