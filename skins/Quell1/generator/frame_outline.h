#pragma once
// The silhouette of the Quell1 window: one closed polygon in frame pixels.
// The frame is painted by filling exactly this polygon and the outline file
// is written from exactly these points, so the window's shape and its picture
// cannot drift apart.
#include <QPainterPath>
#include <QPoint>

#include <vector>

namespace quell1 {

std::vector<QPoint> frameOutline();

// The outline as a fillable path (odd-even fill, like the window's shape).
QPainterPath outlinePath(const std::vector<QPoint>& outline);

// Appends the arc of a circle to points, rounded to whole pixels, skipping
// points equal to the last one. Angles are in degrees, screen orientation
// (y grows downwards, 90 degrees points down).
void appendArc(std::vector<QPoint>& points, double cx, double cy, double radius, double fromDegrees, double toDegrees);

}  // namespace quell1
