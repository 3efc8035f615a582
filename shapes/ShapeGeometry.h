#pragma once
// Plain geometry of the annotation shapes, free of any window system: the
// length of a drag, where a shape's end point goes when the button is
// released outside the selection, and conservative rectangles around what
// each kind of shape draws.
#include <cstddef>

#include "framework/Geometry.h"

namespace shapegeo {

// Length of the drag from start to end, truncated toward zero. Computed in
// double from 64-bit differences, so any two points are safe; a length
// beyond the int range reads as the largest int.
int DragLength(Point start, Point end);

// The end point of a shape after a release at `release`, given the end point
// of the last move inside `selection` (right and bottom exclusive). A
// coordinate whose edge the release passed is pulled 8 pixels inside that
// edge; the end point itself is then brought back the same way should it
// lie beyond an edge.
Point ClampEndPoint(Point release, Point end, const Rect& selection);

// Smallest and largest coordinates of a growing set of points, kept as the
// points come so that a long stroke is never scanned again.
struct PointBox {
    bool empty = true;
    int minX = 0;
    int minY = 0;
    int maxX = 0;
    int maxY = 0;

    void Add(Point p);
    // The pixels of the box grown by `by` on every side, right and bottom
    // exclusive, held to the int range; an empty rectangle for no points.
    Rect Grown(int by) const;
};

// How far anti-aliased drawing may reach beyond the geometric outline.
constexpr int kSmoothMargin = 2;

// Rectangle or ellipse spanned by two points in any order, stroked with a
// pen of the given width (centred on the outline).
Rect OutlineBounds(Point a, Point b, int penWidth);
// A filled, anti-aliased polygon.
Rect PolygonBounds(const Point* points, size_t count);
// A stroke through the points of `box` with a pen of the given width.
Rect StrokeBounds(const PointBox& box, int penWidth);

}  // namespace shapegeo
