#include "run_tool.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "core/os/file_system.h"

extern char** environ;

namespace quellkit {
namespace {

std::string takeFile(const std::string& path) {
    const auto bytes = quell::os::readFile(path, quell::os::kMaxTextFileBytes);
    quell::os::removeFile(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

}  // namespace

ToolRun runTool(const std::vector<std::string>& argv, const std::string& cwd, const std::string& scratchDir) {
    ToolRun run;
    if (argv.empty()) return run;
    const std::string outPath = scratchDir + "/tool.out";
    const std::string errPath = scratchDir + "/tool.err";
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (!cwd.empty()) posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned == 0) {
        int wstatus = 0;
        while (::waitpid(pid, &wstatus, 0) < 0 && errno == EINTR) {
        }
        run.started = true;
        run.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    }
    run.out = takeFile(outPath);
    run.err = takeFile(errPath);
    return run;
}

}  // namespace quellkit
