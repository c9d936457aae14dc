#pragma once
// Whether the program's windows live on a Wayland compositor, which differs
// from X11 in two ways the main window minds: it has no window shapes, and
// it alone places and sizes windows that are maximized or restored.

namespace quell::ui {

// True on Qt's Wayland platforms; false on X11 and on platforms without a
// screen.
bool isWaylandPlatform();

}  // namespace quell::ui
