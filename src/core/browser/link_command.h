#pragma once
// Where a text label's command goes: a direct label navigates to its
// argument, an execute label opens it, -1 does nothing, and every other kind
// goes to the main window's dispatcher.
#include <functional>
#include <string>

#include "core/browser/command_sink.h"

namespace quell::browser {

struct LinkTargets {
    std::function<void(const std::string& url)> navigate;
    std::function<void(const std::string& commandLine)> open;
    CommandSink* dispatcher = nullptr;
};

void RunLinkCommand(const LinkTargets& targets, int kind, int index, ScreenRect screenRect,
                    const std::string& argument);

}  // namespace quell::browser
