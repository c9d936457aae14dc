#pragma once
// Turns the browser's events into the skin's visible state: the progress bar,
// the address bars, the status text and the busy animation.
#include <cstdint>
#include <string>

#include "core/browser/browser.h"

namespace quell::browser {

class ProgressView {
public:
    virtual ~ProgressView() = default;
    virtual void setProgressPosition(int32_t percent) = 0;
};

class AddressView {
public:
    virtual ~AddressView() = default;
    virtual void setAddressText(const std::string& url) = 0;
};

class StatusView {
public:
    virtual ~StatusView() = default;
    // Sets the text and repaints the frame under it first.
    virtual void setStatusText(const std::string& text) = 0;
};

class BusyIndicator {
public:
    virtual ~BusyIndicator() = default;
    virtual void resumeAnimation() = 0;
    // Stops where it is and repaints.
    virtual void pauseAnimation() = 0;
};

// Progress as a percentage: 0 unless both values are positive, truncated, not clamped.
int32_t ProgressPercent(int32_t progress, int32_t progressMax);

class NavigationEventHandler final : public BrowserEvents {
public:
    explicit NavigationEventHandler(const Browser& browser) : m_browser(browser) {}

    // Absent views are null; each may be set or cleared at any time.
    void setProgressView(ProgressView* view) { m_progress = view; }
    void setAddressViews(AddressView* skinAddress, AddressView* toolbarAddress) {
        m_skinAddress = skinAddress;
        m_toolbarAddress = toolbarAddress;
    }
    void setStatusView(StatusView* view) { m_status = view; }
    void setBusyIndicator(BusyIndicator* busy) { m_busy = busy; }

    void ProgressChange(int32_t progress, int32_t progressMax) override;
    void StatusTextChange(const std::string& text) override;
    void DownloadBegin() override;
    void DownloadComplete() override;
    void BeforeNavigate2(const std::string&) override {}

    const std::string& rememberedLocation() const { return m_location; }

private:
    const Browser& m_browser;
    ProgressView* m_progress = nullptr;
    AddressView* m_skinAddress = nullptr;
    AddressView* m_toolbarAddress = nullptr;
    StatusView* m_status = nullptr;
    BusyIndicator* m_busy = nullptr;
    std::string m_location;
};

}  // namespace quell::browser
