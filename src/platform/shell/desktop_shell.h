#pragma once
// Opens addresses, files and command lines with the desktop's own programs.
#include "core/browser/shell.h"

namespace quell::platform {

class DesktopShell final : public browser::Shell {
public:
    bool Open(const std::string& target) override;
};

// True when text starts with a URL scheme such as "http:" or "mailto:".
bool HasUrlScheme(const std::string& text);

}  // namespace quell::platform
