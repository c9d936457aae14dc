#include "ui/mainwindow/wayland_platform.h"

#include <QGuiApplication>

namespace quell::ui {

bool isWaylandPlatform() {
    // Qt names its Wayland platforms "wayland", "wayland-egl" and so on.
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

}  // namespace quell::ui
