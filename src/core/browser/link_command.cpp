#include "core/browser/link_command.h"

#include "core/command_codes.h"

namespace quell::browser {

void RunLinkCommand(const LinkTargets& targets, int kind, int index, ScreenRect screenRect,
                    const std::string& argument) {
    if (kind == commands::kDirect) {
        if (targets.navigate) targets.navigate(argument);
    } else if (kind == commands::kExecute) {
        if (targets.open) targets.open(argument);
    } else if (kind >= commands::kBack && targets.dispatcher) {
        targets.dispatcher->DispatchCommand(kind, index, screenRect);
    }
}

}  // namespace quell::browser
