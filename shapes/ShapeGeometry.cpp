#include "shapes/ShapeGeometry.h"

#include <climits>
#include <cmath>
#include <cstdint>

namespace shapegeo {
namespace {

int Saturate(int64_t v) {
    if (v < INT_MIN) return INT_MIN;
    if (v > INT_MAX) return INT_MAX;
    return static_cast<int>(v);
}

// Moves v by d without wrapping around at the ends of the int range.
int Shift(int v, int d) { return Saturate(static_cast<int64_t>(v) + d); }

// A pen reaches at most its width from the line it follows; widths of 0 and
// 1 draw one pixel, and a negative width is taken by its size.
int PenReach(int penWidth) {
    const int64_t w = penWidth < 0 ? -static_cast<int64_t>(penWidth) : penWidth;
    return Saturate(w < 1 ? 1 : w);
}

// One axis of the end-point clamp.
int ClampAxis(int release, int end, int low, int high) {
    if (release > high)
        end = Shift(high, -8);
    else if (release < low)
        end = Shift(low, 8);
    if (end > high) return Shift(high, -8);
    if (end < low) return Shift(low, 8);
    return end;
}

}  // namespace

int DragLength(Point start, Point end) {
    const double dx = static_cast<double>(static_cast<int64_t>(end.x) - start.x);
    const double dy = static_cast<double>(static_cast<int64_t>(end.y) - start.y);
    const double length = std::sqrt(dx * dx + dy * dy);
    return length >= 2147483647.0 ? INT_MAX : static_cast<int>(length);
}

Point ClampEndPoint(Point release, Point end, const Rect& selection) {
    return Point{ClampAxis(release.x, end.x, selection.left, selection.right),
                 ClampAxis(release.y, end.y, selection.top, selection.bottom)};
}

void PointBox::Add(Point p) {
    if (empty) {
        minX = maxX = p.x;
        minY = maxY = p.y;
        empty = false;
        return;
    }
    if (p.x < minX) minX = p.x;
    if (p.x > maxX) maxX = p.x;
    if (p.y < minY) minY = p.y;
    if (p.y > maxY) maxY = p.y;
}

Rect PointBox::Grown(int by) const {
    if (empty) return Rect{};
    return Rect{Saturate(static_cast<int64_t>(minX) - by), Saturate(static_cast<int64_t>(minY) - by),
                Saturate(static_cast<int64_t>(maxX) + 1 + by), Saturate(static_cast<int64_t>(maxY) + 1 + by)};
}

Rect OutlineBounds(Point a, Point b, int penWidth) {
    PointBox box;
    box.Add(a);
    box.Add(b);
    return box.Grown(Shift(PenReach(penWidth), kSmoothMargin));
}

Rect PolygonBounds(const Point* points, size_t count) {
    PointBox box;
    for (size_t i = 0; i < count; ++i) box.Add(points[i]);
    return box.Grown(kSmoothMargin);
}

Rect StrokeBounds(const PointBox& box, int penWidth) { return box.Grown(PenReach(penWidth)); }

}  // namespace shapegeo
