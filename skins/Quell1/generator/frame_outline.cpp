#include "frame_outline.h"

#include <QPolygonF>

#include <cmath>
#include <numbers>

#include "skin_layout.h"

namespace quell1 {
namespace {

constexpr double kCrestCorner = 14;
constexpr double kTabCorner = 9;
constexpr double kFillet = 10;

void appendPoint(std::vector<QPoint>& points, QPoint p) {
    if (points.empty() || points.back() != p) points.push_back(p);
}

// A raised tab on the body's top edge: a concave fillet up from the edge,
// a rounded top, and a fillet back down.
void appendTab(std::vector<QPoint>& points, double left, double right, double top, double corner) {
    const double edge = kBodyTop;
    appendArc(points, left - kFillet, edge - kFillet, kFillet, 90, 0);
    appendArc(points, left + corner, top + corner, corner, 180, 270);
    appendArc(points, right - corner, top + corner, corner, 270, 360);
    appendArc(points, right + kFillet, edge - kFillet, kFillet, 180, 90);
}

}  // namespace

void appendArc(std::vector<QPoint>& points, double cx, double cy, double radius, double fromDegrees, double toDegrees) {
    // About one sample per pixel of arc length keeps every step of the
    // rounded polygon at most one pixel, so the hard-edged window shape
    // follows the anti-aliased painted curve.
    const double span = std::abs(toDegrees - fromDegrees);
    const int steps = std::max(2, static_cast<int>(std::ceil(span * std::numbers::pi / 180.0 * radius)));
    for (int i = 0; i <= steps; ++i) {
        const double t = fromDegrees + (toDegrees - fromDegrees) * i / steps;
        const double rad = t * std::numbers::pi / 180.0;
        appendPoint(points, QPoint(static_cast<int>(std::lround(cx + radius * std::cos(rad))),
                                   static_cast<int>(std::lround(cy + radius * std::sin(rad)))));
    }
}

std::vector<QPoint> frameOutline() {
    std::vector<QPoint> points;
    const double r = kBodyCorner;
    // Clockwise from the top-left corner of the body.
    appendArc(points, kBodyLeft + r, kBodyTop + r, r, 180, 270);
    appendTab(points, kCrestLeft, kCrestRight, kCrestTop, kCrestCorner);
    appendTab(points, kTabLeft, kTabRight, kTabTop, kTabCorner);
    appendArc(points, kBodyRight - r, kBodyTop + r, r, 270, 360);
    appendArc(points, kBodyRight - r, kBodyBottom - r, r, 0, 90);
    appendArc(points, kBodyLeft + r, kBodyBottom - r, r, 90, 180);
    if (points.size() > 1 && points.front() == points.back()) points.pop_back();
    return points;
}

QPainterPath outlinePath(const std::vector<QPoint>& outline) {
    QPolygonF polygon;
    for (const QPoint& p : outline) polygon << QPointF(p);
    QPainterPath path;
    path.addPolygon(polygon);
    path.closeSubpath();
    path.setFillRule(Qt::OddEvenFill);
    return path;
}

}  // namespace quell1
