#pragma once
// Conversions between core records and Qt types, kept in one place.
#include <QPolygon>
#include <QRect>
#include <QString>

#include <string>
#include <vector>

#include "core/skin/outline_file.h"
#include "core/skin/skin_values.h"

namespace quell::ui {

inline QString toQString(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
inline std::string toStdString(const QString& text) { return text.toUtf8().toStdString(); }

// A skin rectangle as a Qt rectangle of width right - left and height bottom - top.
inline QRect toQRect(const skin::SkinRect& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

inline QPolygon toQPolygon(const std::vector<skin::OutlinePoint>& points) {
    QPolygon polygon;
    polygon.reserve(static_cast<qsizetype>(points.size()));
    for (const auto& p : points) polygon.append(QPoint(p.x, p.y));
    return polygon;
}

}  // namespace quell::ui
