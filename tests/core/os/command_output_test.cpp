#include "core/os/command_output.h"

#include <gtest/gtest.h>

namespace quell::os {
namespace {

using namespace std::chrono_literals;

TEST(CommandOutput, ReturnsWhatASuccessfulProgramPrinted) {
    EXPECT_EQ(commandOutput({"sh", "-c", "echo chromium.desktop; echo ignored >&2"}, 5s), "chromium.desktop\n");
    EXPECT_EQ(commandOutput({"true"}, 5s), "");
}

TEST(CommandOutput, FailuresGiveNothing) {
    struct Case {
        const char* name;
        std::vector<std::string> argv;
        size_t maxBytes;
    };
    const Case cases[] = {
        {"no such program", {"quell-no-such-program"}, 4096},
        {"non-zero status", {"sh", "-c", "echo firefox.desktop; exit 3"}, 4096},
        {"killed by a signal", {"sh", "-c", "echo x; kill -9 $$"}, 4096},
        {"too much output", {"sh", "-c", "yes | head -c 100000"}, 4096},
        {"no arguments", {}, 4096},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(commandOutput(c.argv, 5s, c.maxBytes), std::nullopt);
    }
}

TEST(CommandOutput, AProgramPastItsTimeIsEndedWithWhatItStarted) {
    // Were the children left running, they would hold the pipe open and the
    // test would wait for them; a hang here is the failure.
    EXPECT_EQ(commandOutput({"sh", "-c", "echo partial; sleep 600 & sleep 600"}, 200ms), std::nullopt);
    // One that closes its output but goes on running is ended too.
    EXPECT_EQ(commandOutput({"sh", "-c", "exec >&-; sleep 600"}, 200ms), std::nullopt);
}

}  // namespace
}  // namespace quell::os
