#pragma once
// Where a text label's command goes: kind 12 (direct) navigates to the
// label's argument, 13 (execute) opens it, -1 does nothing, and every other
// kind goes to the main window's dispatcher.
#include <functional>
#include <string>

#include "core/browser/command_sink.h"

namespace quell::ui {

inline constexpr int kCommandDirect = 12;
inline constexpr int kCommandExecute = 13;

struct LinkTargets {
    std::function<void(const std::string& url)> navigate;
    std::function<void(const std::string& commandLine)> open;
    browser::CommandSink* dispatcher = nullptr;
};

void RunLinkCommand(const LinkTargets& targets, int kind, int index, browser::ScreenRect screenRect,
                    const std::string& argument);

}  // namespace quell::ui
