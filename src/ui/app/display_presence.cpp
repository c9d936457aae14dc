#include "ui/app/display_presence.h"

namespace quell::ui {

std::string missingDisplayMessage(const std::string& programName, const EnvironmentLookup& environment) {
    // A platform named by hand (offscreen, xcb, wayland) is Qt's to start or
    // refuse; an X display or a Wayland socket named in the environment is
    // something to show on.
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        if (!environment(name).empty()) return {};
    }
    return programName +
           ": no display to show the window on: DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are all unset";
}

}  // namespace quell::ui
