#include "core/browser/navigation_events.h"

#include <limits>

namespace quell::browser {

int32_t ProgressPercent(int32_t progress, int32_t progressMax) {
    if (progress <= 0 || progressMax <= 0) return 0;
    // A wider intermediate keeps large byte counts from overflowing.
    int64_t percent = static_cast<int64_t>(progress) * 100 / progressMax;
    if (percent > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(percent);
}

void NavigationEventHandler::ProgressChange(int32_t progress, int32_t progressMax) {
    if (m_progress) m_progress->setProgressPosition(ProgressPercent(progress, progressMax));
    if (!m_skinAddress) return;
    std::string location = m_browser.LocationURL();
    if (location == m_location) return;
    m_location = location;
    m_skinAddress->setAddressText(location);
    if (m_toolbarAddress) m_toolbarAddress->setAddressText(location);
}

void NavigationEventHandler::StatusTextChange(const std::string& text) {
    if (m_status) m_status->setStatusText(text);
}

void NavigationEventHandler::DownloadBegin() {
    if (m_busy) m_busy->resumeAnimation();
}

void NavigationEventHandler::DownloadComplete() {
    if (m_busy) m_busy->pauseAnimation();
}

}  // namespace quell::browser
