#pragma once
// A browser that writes down what it is asked, shared by the browser core tests.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/browser/browser.h"

namespace quell::browser::test {

// Records every call as one line, so a test compares what happened in order.
class FakeBrowser final : public Browser {
public:
    std::vector<std::string> calls;
    bool hasDocument = true;
    bool busy = false;
    std::string location = "http://example.com/";
    mutable int locationReads = 0;
    std::map<int, std::optional<uint32_t>> status;

    bool GoBack() override {
        calls.push_back("back");
        return false;
    }
    bool GoForward() override {
        calls.push_back("forward");
        return false;
    }
    void GoHome() override { calls.push_back("home"); }
    void Navigate(const std::string& url) override { calls.push_back("navigate " + url); }
    void Refresh() override { calls.push_back("refresh"); }
    void Stop() override { calls.push_back("stop"); }
    bool HasDocument() const override { return hasDocument; }
    std::string LocationName() const override { return "Example"; }
    std::string LocationURL() const override {
        ++locationReads;
        return location;
    }
    bool Busy() const override { return busy; }
    std::optional<uint32_t> QueryStatus(int id) override {
        calls.push_back("query " + std::to_string(id));
        auto it = status.find(id);
        return it == status.end() ? std::optional<uint32_t>(kStatusSupported | kStatusEnabled) : it->second;
    }
    int32_t ExecDocumentCommand(CommandGroup group, int id) override {
        calls.push_back(std::string(group == CommandGroup::Standard ? "exec " : "exec-browser ") + std::to_string(id));
        return kResultOk;
    }
    bool SetTextSize(int level) override {
        calls.push_back("textsize " + std::to_string(level));
        return true;
    }
};

}  // namespace quell::browser::test
