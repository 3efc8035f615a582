#include "shapes/ArrowGeometry.h"

#include <cmath>

namespace arrowgeo {
namespace {

// Truncation toward zero, refused where the conversion to int would be
// undefined (not finite, or outside the integer range).
bool Truncate(double v, int* out) {
    if (!std::isfinite(v) || v <= -2147483649.0 || v >= 2147483648.0) return false;
    *out = static_cast<int>(v);
    return true;
}

bool ToPoint(const PointD& p, Point* out) { return Truncate(p.x, &out->x) && Truncate(p.y, &out->y); }

}  // namespace

bool HeadPoints(double angleDeg, double length, Point tail, Point tip, PointD* plus, PointD* minus) {
    if (tail == tip) return false;
    const double t = angleDeg * kPi / 180.0;
    // Differences in double: int differences of far-apart points would overflow.
    const double dx = static_cast<double>(tail.x) - static_cast<double>(tip.x);
    const double dy = static_cast<double>(tail.y) - static_cast<double>(tip.y);
    const double ux = std::cos(t) * dx - std::sin(t) * dy;
    const double uy = std::sin(t) * dx + std::cos(t) * dy;
    const double vx = std::cos(-t) * dx - std::sin(-t) * dy;
    const double vy = std::sin(-t) * dx + std::cos(-t) * dy;
    const double lu = std::sqrt(ux * ux + uy * uy);
    const double lv = std::sqrt(vx * vx + vy * vy);
    if (!(lu > 0.0) || !(lv > 0.0)) return false;  // also catches NaN
    const PointD u{tip.x + length * ux / lu, tip.y + length * uy / lu};
    const PointD v{tip.x + length * vx / lv, tip.y + length * vy / lv};
    if (!std::isfinite(u.x) || !std::isfinite(u.y) || !std::isfinite(v.x) || !std::isfinite(v.y)) return false;
    *plus = u;
    *minus = v;
    return true;
}

bool Polygon(Point tail, Point tip, double headAngleDeg, int headLength, Point out[6]) {
    PointD b1, b2, n1, n2;
    if (!HeadPoints(headAngleDeg, static_cast<double>(headLength), tail, tip, &b1, &b2)) return false;
    if (!HeadPoints(kNeckAngle, kNeckLength, tail, tip, &n1, &n2)) return false;
    Point p[6];
    p[0] = tail;
    p[3] = tip;
    if (!ToPoint(n1, &p[1]) || !ToPoint(b1, &p[2]) || !ToPoint(b2, &p[4]) || !ToPoint(n2, &p[5])) return false;
    for (int i = 0; i < 6; ++i) out[i] = p[i];
    return true;
}

}  // namespace arrowgeo
