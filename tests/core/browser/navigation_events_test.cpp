#include "core/browser/navigation_events.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/fake_browser.h"

using namespace quell::browser;

namespace {

struct Recorder : ProgressView, AddressView, StatusView, BusyIndicator {
    std::vector<int32_t> positions;
    std::vector<std::string> addresses, statuses, busy;
    void setProgressPosition(int32_t p) override { positions.push_back(p); }
    void setAddressText(const std::string& u) override { addresses.push_back(u); }
    void setStatusText(const std::string& t) override { statuses.push_back(t); }
    void resumeAnimation() override { busy.push_back("resume"); }
    void pauseAnimation() override { busy.push_back("pause"); }
};

}  // namespace

TEST(ProgressPercent, TruncatesAndNeverClamps) {
    struct Case {
        int32_t progress, max, percent;
    } cases[] = {{0, 100, 0},
                 {5, 0, 0},
                 {-1, 100, 0},
                 {-1, -1, 0},
                 {50, 200, 25},
                 {201, 200, 100},
                 {250, 200, 125},
                 {1, 3, 33},
                 {99, 100, 99},
                 {2000000000, 2000000000, 100},
                 {2147483647, 1, 2147483647}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.progress) + "/" + std::to_string(c.max));
        EXPECT_EQ(ProgressPercent(c.progress, c.max), c.percent);
    }
}

TEST(NavigationEventHandler, AddressIsSetOnlyWhenTheLocationChanges) {
    quell::browser::test::FakeBrowser browser;
    Recorder skin, toolbar;
    NavigationEventHandler handler(browser);
    handler.setProgressView(&skin);
    handler.setAddressViews(&skin, &toolbar);
    browser.location = "http://a.example/";
    handler.ProgressChange(10, 100);
    handler.ProgressChange(50, 100);
    browser.location = "http://A.example/";  // differs only in case: still a change
    handler.ProgressChange(-1, 100);
    EXPECT_EQ(skin.positions, (std::vector<int32_t>{10, 50, 0}));
    EXPECT_EQ(skin.addresses, (std::vector<std::string>{"http://a.example/", "http://A.example/"}));
    EXPECT_EQ(toolbar.addresses, skin.addresses);
}

TEST(NavigationEventHandler, WithoutAnAddressBarTheLocationIsNeverRead) {
    quell::browser::test::FakeBrowser browser;
    Recorder progress;
    NavigationEventHandler handler(browser);
    handler.setProgressView(&progress);
    handler.ProgressChange(1, 2);
    EXPECT_EQ(progress.positions, std::vector<int32_t>{50});
    EXPECT_EQ(browser.locationReads, 0);
}

TEST(NavigationEventHandler, WithoutProgressViewsOnlyTheAddressMoves) {
    quell::browser::test::FakeBrowser browser;
    Recorder address;
    NavigationEventHandler handler(browser);
    handler.setAddressViews(&address, nullptr);
    browser.location = "file:///x";
    handler.ProgressChange(1, 2);
    EXPECT_TRUE(address.positions.empty());
    EXPECT_EQ(address.addresses, std::vector<std::string>{"file:///x"});
}

TEST(NavigationEventHandler, StatusAndBusyAnimation) {
    quell::browser::test::FakeBrowser browser;
    Recorder r;
    NavigationEventHandler handler(browser);
    handler.DownloadBegin();  // nothing attached: nothing happens
    handler.StatusTextChange("ignored");
    handler.setStatusView(&r);
    handler.setBusyIndicator(&r);
    handler.StatusTextChange("http://hover.example/");
    handler.DownloadBegin();
    handler.DownloadComplete();
    handler.DownloadComplete();
    EXPECT_EQ(r.statuses, std::vector<std::string>{"http://hover.example/"});
    EXPECT_EQ(r.busy, (std::vector<std::string>{"resume", "pause", "pause"}));
}
