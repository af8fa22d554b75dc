#pragma once
// One point of a path as it is read back.

#include <QPoint>

namespace mirel {

struct PathPoint {
    enum class Type { MoveTo, LineTo, BezierTo };
    QPoint point;
    Type type = Type::LineTo;
    bool closesFigure = false;  // the figure is closed after this point
    friend bool operator==(const PathPoint&, const PathPoint&) = default;
};

}  // namespace mirel
