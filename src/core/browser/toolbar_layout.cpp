#include "core/browser/toolbar_layout.h"

namespace quell::browser {

ToolbarRightGroup LayoutToolbarRightGroup(int width) {
    return {{width - 40, 9}, {width - 22, 9}, {width - 450, kToolbarComboTop}};
}

const ToolbarButtonSpec* FindToolbarButton(int controlId) {
    for (const ToolbarButtonSpec& spec : kToolbarButtons) {
        if (spec.controlId == controlId)
            return &spec;
    }
    return nullptr;
}

}  // namespace quell::browser
