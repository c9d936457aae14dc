#pragma once
// Runs a helper program of the desktop and takes what it prints, within a
// bounded time.
#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace quell::os {

// Runs argv[0], looked up in PATH, with no input and its errors discarded.
// Its standard output, when it exits with status 0 within the timeout and
// prints at most maxBytes; nullopt otherwise (not found, failed, too slow:
// it is then killed with everything it started, too verbose).
std::optional<std::string> commandOutput(const std::vector<std::string>& argv, std::chrono::milliseconds timeout,
                                         size_t maxBytes = 4096);

}  // namespace quell::os
