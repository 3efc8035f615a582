#include "shapes/ArrowGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

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

long long Cross(Point o, Point a, Point b) {
    return (static_cast<long long>(a.x) - o.x) * (static_cast<long long>(b.y) - o.y) -
           (static_cast<long long>(a.y) - o.y) * (static_cast<long long>(b.x) - o.x);
}

// The convex hull of up to twelve points (Andrew's monotone chain).
ConvexOutline Hull(Point* pts, int n) {
    std::sort(pts, pts + n, [](Point a, Point b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
    Point chain[24];
    int k = 0;
    for (int i = 0; i < n; ++i) {
        while (k >= 2 && Cross(chain[k - 2], chain[k - 1], pts[i]) <= 0) --k;
        chain[k++] = pts[i];
    }
    for (int i = n - 2, lower = k + 1; i >= 0; --i) {
        while (k >= lower && Cross(chain[k - 2], chain[k - 1], pts[i]) <= 0) --k;
        chain[k++] = pts[i];
    }
    ConvexOutline hull;
    hull.count = std::min(12, std::max(0, k - 1));
    std::copy(chain, chain + hull.count, hull.p);
    return hull;
}

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

bool GrownFan(const Point polygon[6], int grow, ConvexOutline out[4]) {
    constexpr int kFar = 1 << 28;
    if (grow < 0 || grow > kFar) return false;
    for (int i = 0; i < 6; ++i)
        if (std::abs(polygon[i].x) > kFar || std::abs(polygon[i].y) > kFar) return false;
    const Point& tip = polygon[3];
    for (int t = 0; t < 4; ++t) {
        // Tip, then each edge not touching it: 4-5, 5-0, 0-1, 1-2.
        const Point corners[3] = {tip, polygon[(4 + t) % 6], polygon[(5 + t) % 6]};
        Point moved[12];
        int n = 0;
        for (const Point& c : corners)
            for (int dy : {-grow, grow})
                for (int dx : {-grow, grow}) moved[n++] = Point{c.x + dx, c.y + dy};
        out[t] = Hull(moved, n);
    }
    return true;
}

}  // namespace arrowgeo
