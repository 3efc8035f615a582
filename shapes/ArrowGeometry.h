#pragma once
// Geometry of the arrow, free of any window system: the points of its head
// and the six-vertex outline that is filled to draw it. The arrow runs from
// the tail (where the drag began) to the tip (where it ended).
#include "framework/Geometry.h"

namespace arrowgeo {

// The constants of the outline. Pi is this decimal value, not the full
// precision one, so that the truncated vertices land on the same pixels
// everywhere.
constexpr double kPi = 3.1415926;
constexpr double kNeckAngle = 6.0;    // degrees either side of the shaft
constexpr double kNeckLength = 20.0;  // pixels from the tip

struct PointD {
    double x = 0.0;
    double y = 0.0;
};

// The two points at distance `length` from the tip whose directions are the
// shaft's (tip towards tail) turned by +angle and -angle degrees. With y
// growing downwards the + point lies clockwise of the shaft seen from the
// tip. False, leaving the outputs alone, when tail and tip coincide (no
// direction) or anything comes out non-finite.
bool HeadPoints(double angleDeg, double length, Point tail, Point tip, PointD* plus, PointD* minus);

// The filled outline: tail, neck +, barb +, tip, barb -, neck -. Barbs use
// the shape's head angle and length; each coordinate of the computed points
// is truncated toward zero. False when there is no direction or a vertex
// would not be a finite value within the integer range; such an arrow draws
// nothing.
bool Polygon(Point tail, Point tip, double headAngleDeg, int headLength, Point out[6]);

// A convex outline of at most twelve vertices, in order around it.
struct ConvexOutline {
    Point p[12];
    int count = 0;
};

// Four convex outlines whose union holds the filled outline `polygon` (as
// Polygon makes it) grown by `grow` pixels every way, whatever rule fills
// it: the outline fanned into triangles from the tip (every filled point has
// a winding about the fan's apex, and so lies in one of them), each grown as
// a convex shape grows, to the hull of its corners moved every way. False
// for coordinates so far out that growing them could overflow.
bool GrownFan(const Point polygon[6], int grow, ConvexOutline out[4]);

}  // namespace arrowgeo
