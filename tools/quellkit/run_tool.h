#pragma once
// Runs an outside program to its end and collects what it printed.
#include <string>
#include <vector>

namespace quellkit {

struct ToolRun {
    bool started = false;  // false when the program could not be found or run
    int status = -1;       // its exit status; -1 when it was ended by a signal
    std::string out;       // its standard output
    std::string err;       // its standard error
    bool succeeded() const { return started && status == 0; }
};

// Runs argv[0] (looked up in PATH) with argv in the folder cwd. The program's
// output goes through two files in scratchDir, which are removed afterwards.
ToolRun runTool(const std::vector<std::string>& argv, const std::string& cwd, const std::string& scratchDir);

}  // namespace quellkit
