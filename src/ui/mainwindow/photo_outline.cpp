#include "ui/mainwindow/photo_outline.h"

#include <cmath>

namespace quell::ui {

std::vector<skin::OutlinePoint> BuiltInPhotoOutline() {
    // A rectangle with quarter-circle corners: four arcs of 42 points each and
    // one closing point back at the start of the first arc.
    constexpr int kLeft = 5, kTop = 3, kRight = 124, kBottom = 379, kRadius = 24, kArcPoints = 42;
    const double pi = std::acos(-1.0);
    const struct {
        int cx, cy;
        double start;
    } corners[] = {
        {kRight - kRadius, kTop + kRadius, -pi / 2},
        {kRight - kRadius, kBottom - kRadius, 0},
        {kLeft + kRadius, kBottom - kRadius, pi / 2},
        {kLeft + kRadius, kTop + kRadius, pi},
    };
    std::vector<skin::OutlinePoint> points;
    points.reserve(4 * kArcPoints + 1);
    for (const auto& c : corners) {
        for (int i = 0; i < kArcPoints; ++i) {
            double a = c.start + (pi / 2) * i / (kArcPoints - 1);
            points.push_back({static_cast<int32_t>(std::lround(c.cx + kRadius * std::cos(a))),
                              static_cast<int32_t>(std::lround(c.cy + kRadius * std::sin(a)))});
        }
    }
    points.push_back(points.front());
    return points;
}

}  // namespace quell::ui
