#pragma once
// Whether the program has anything to show its window on, decided from the
// environment before the application object is made: Qt aborts the process
// when its platform cannot start.
#include <functional>
#include <string>

namespace quell::ui {

// Reads one environment variable; empty when it is unset.
using EnvironmentLookup = std::function<std::string(const char* name)>;

// Empty when a display can be reached or a platform was chosen by hand;
// otherwise the one line to print, naming the variables looked at.
std::string missingDisplayMessage(const std::string& programName, const EnvironmentLookup& environment);

}  // namespace quell::ui
