#include "core/os/command_output.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace quell::os {
namespace {

void closeBoth(int fds[2]) {
    if (fds[0] >= 0) ::close(fds[0]);
    if (fds[1] >= 0) ::close(fds[1]);
}

// The child's wait status once it has ended; one still running at the
// deadline is killed with its group first. -1 when waiting fails.
int reap(pid_t pid, std::chrono::steady_clock::time_point deadline) {
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) return status;
        if (done < 0 && errno != EINTR) return -1;
        if (std::chrono::steady_clock::now() >= deadline) break;
        ::usleep(5000);
    }
    ::kill(-pid, SIGKILL);
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return -1;
}

}  // namespace

std::optional<std::string> commandOutput(const std::vector<std::string>& argv, std::chrono::milliseconds timeout,
                                         size_t maxBytes) {
    if (argv.empty()) return std::nullopt;
    int out[2] = {-1, -1};
    if (::pipe2(out, O_CLOEXEC) != 0) return std::nullopt;

    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    // A group of its own, so that a timeout ends the helpers a script starts too.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, args[0], &actions, &attributes, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(out[1]);
    out[1] = -1;
    if (spawned != 0) {
        closeBoth(out);
        return std::nullopt;
    }

    std::string text;
    bool complete = false;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        pollfd readable{out[0], POLLIN, 0};
        const int ready = ::poll(&readable, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) break;
        char buffer[1024];
        const ssize_t got = ::read(out[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            complete = got == 0;
            break;
        }
        text.append(buffer, static_cast<size_t>(got));
        if (text.size() > maxBytes) break;
    }
    closeBoth(out);
    const int status = reap(pid, complete ? deadline : std::chrono::steady_clock::now());
    if (!complete || status < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return text;
}

}  // namespace quell::os
