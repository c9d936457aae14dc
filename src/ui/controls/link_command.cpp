#include "ui/controls/link_command.h"

namespace quell::ui {

void RunLinkCommand(const LinkTargets& targets, int kind, int index, browser::ScreenRect screenRect,
                    const std::string& argument) {
    if (kind == kCommandDirect) {
        if (targets.navigate)
            targets.navigate(argument);
    } else if (kind == kCommandExecute) {
        if (targets.open)
            targets.open(argument);
    } else if (kind >= 1 && targets.dispatcher) {
        targets.dispatcher->DispatchCommand(kind, index, screenRect);
    }
}

}  // namespace quell::ui
