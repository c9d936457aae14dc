#include "core/browser/toolbar_layout.h"

namespace quell::browser {

ToolbarRightGroup LayoutToolbarRightGroup(int width) {
    return {{width - 40, 9}, {width - 22, 9}, {width - 450, kToolbarComboTop}};
}

const ToolbarButtonSpec* FindToolbarButton(int controlId) {
    for (const ToolbarButtonSpec& layout : kToolbarButtons) {
        if (layout.controlId == controlId) return &layout;
    }
    return nullptr;
}

}  // namespace quell::browser
