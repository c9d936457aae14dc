#pragma once
// Opening addresses, files and command lines with the desktop's own programs.
#include <string>

namespace quell::browser {

class Shell {
public:
    virtual ~Shell() = default;
    // "open" of a URL, mailto: address, existing file or command line; failures are not reported.
    virtual bool Open(const std::string& target) = 0;
};

}  // namespace quell::browser
