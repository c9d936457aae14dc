#pragma once
// Opens addresses and a skin's own entries with the desktop's own programs.
#include "core/browser/shell.h"

namespace quell::platform {

class DesktopShell final : public browser::Shell {
public:
    bool OpenAddress(const std::string& address) override;
    bool RunSkinEntry(const std::string& entry) override;
};

}  // namespace quell::platform
