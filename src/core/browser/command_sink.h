#pragma once
// How a control asks the main window for an action: the command code (a skin
// button kind 1..16 or a built-in control id 109..126), the entry's index and
// the control's rectangle on the screen (menus open under it).
namespace quell::browser {

struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const ScreenRect&) const = default;
};

class CommandSink {
public:
    virtual ~CommandSink() = default;
    virtual void DispatchCommand(int code, int index, ScreenRect screenRect) = 0;
};

}  // namespace quell::browser
