// Geometry of the annotation shapes: the arrow's outline against worked
// examples and extreme inputs, drag lengths and the end-point clamp. (The
// bounds are checked against real drawing in the component tests.)
#include "shapes/ArrowGeometry.h"
#include "shapes/ShapeGeometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <ostream>

static std::ostream& operator<<(std::ostream& os, const Point& p) { return os << "(" << p.x << "," << p.y << ")"; }

TEST(ArrowGeometry, PolygonOfWorkedAndExtremeArrows) {
    const struct {
        const char* what;
        Point tail, tip;
        double angle;
        int length;
        Point polygon[6];
    } cases[] = {
        {"horizontal", {0, 0}, {100, 0}, 16, 20, {{0, 0}, {80, -2}, {80, -5}, {100, 0}, {80, 5}, {80, 2}}},
        {"diagonal", {100, 100}, {200, 200}, 16, 20,
         {{100, 100}, {187, 184}, {190, 182}, {200, 200}, {182, 190}, {184, 187}}},
        // -130.11 -> -130 and -52.09 -> -52: toward zero, not down.
        {"negative", {-50, -50}, {-150, -50}, 16, 20,
         {{-50, -50}, {-130, -47}, {-130, -44}, {-150, -50}, {-130, -55}, {-130, -52}}},
        {"mixed", {-10, -20}, {-40, -60}, 16, 20, {{-10, -20}, {-29, -42}, {-32, -41}, {-40, -60}, {-24, -47}, {-26, -45}}},
        {"steep", {300, 40}, {250, 200}, 16, 20, {{300, 40}, {257, 181}, {260, 183}, {250, 200}, {250, 180}, {253, 180}}},
        // Shorter than the head: neck and barbs lie behind the tail (x = -3.2).
        {"short", {0, 0}, {16, 0}, 16, 20, {{0, 0}, {-3, -2}, {-3, -5}, {16, 0}, {-3, 5}, {-3, 2}}},
        // The barbs follow the shape's angle and length, the neck does not.
        {"wide head", {0, 0}, {100, 0}, 30, 40, {{0, 0}, {80, -2}, {65, -19}, {100, 0}, {65, 19}, {80, 2}}},
        {"far out", {2000000000, 0}, {2000000100, 0}, 16, 20,
         {{2000000000, 0}, {2000000080, -2}, {2000000080, -5}, {2000000100, 0}, {2000000080, 5}, {2000000080, 2}}},
        // The tail-to-tip difference does not fit in an int.
        {"whole range", {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, 16, 20,
         {{INT_MIN, INT_MIN}, {2147483634, 2147483631}, {2147483637, 2147483629}, {INT_MAX, INT_MAX},
          {2147483629, 2147483637}, {2147483631, 2147483634}}},
    };
    for (const auto& c : cases) {
        Point p[6];
        ASSERT_TRUE(arrowgeo::Polygon(c.tail, c.tip, c.angle, c.length, p)) << c.what;
        for (int i = 0; i < 6; ++i) EXPECT_EQ(p[i], c.polygon[i]) << c.what << " vertex " << i;
    }
}

TEST(ArrowGeometry, NoPolygonWithoutDirectionOrOutsideTheIntRange) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char* what;
        Point tail, tip;
        double angle;
        int length;
    } cases[] = {
        {"coinciding", {40, 40}, {40, 40}, 16.0, 20},
        {"coinciding at the range end", {INT_MIN, INT_MAX}, {INT_MIN, INT_MAX}, 16.0, 20},
        {"infinite angle", {0, 0}, {100, 0}, inf, 20},
        {"NaN angle", {0, 0}, {100, 0}, std::numeric_limits<double>::quiet_NaN(), 20},
        {"barbs below the range", {0, INT_MAX}, {100, INT_MAX}, 16.0, 20},
        {"barbs left of the range", {INT_MIN, 0}, {INT_MIN, 100}, 16.0, 20},
        {"head reaching past the range", {-1000000000, 0}, {-200000000, 0}, 16.0, INT_MAX},
    };
    for (const auto& c : cases) {
        Point p[6] = {{1, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 1}};
        EXPECT_FALSE(arrowgeo::Polygon(c.tail, c.tip, c.angle, c.length, p)) << c.what;
        for (const Point& q : p) EXPECT_EQ(q, (Point{1, 1})) << c.what << ": output touched";
    }
}

TEST(ShapeGeometry, DragLength) {
    const struct {
        Point a, b;
        int length;
    } cases[] = {
        {{0, 0}, {0, 0}, 0},    {{0, 0}, {9, 12}, 15},    {{0, 0}, {10, 11}, 14},  // 14.87
        {{0, 0}, {11, 11}, 15}, {{50, 50}, {40, 39}, 14}, {{-5, -5}, {-20, -5}, 15},
        {{INT_MIN, 0}, {INT_MAX, 0}, INT_MAX},  // 2^32 - 1 does not fit
        {{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, INT_MAX},
        {{-1000000000, 0}, {1000000000, 1}, 2000000000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(shapegeo::DragLength(c.a, c.b), c.length) << c.a << "-" << c.b;
        EXPECT_EQ(shapegeo::DragLength(c.b, c.a), c.length) << c.b << "-" << c.a;
    }
}

TEST(ShapeGeometry, EndPointClamp) {
    const Rect sel{100, 100, 300, 200};
    const struct {
        const char* what;
        Point release, end, result;
        Rect selection;
    } cases[] = {
        {"inside", {150, 150}, {150, 150}, {150, 150}, sel},
        {"beyond right", {350, 150}, {290, 150}, {292, 150}, sel},
        {"beyond left", {50, 150}, {110, 160}, {108, 160}, sel},
        {"beyond bottom", {150, 260}, {150, 195}, {150, 192}, sel},
        {"beyond top", {150, 20}, {140, 130}, {140, 108}, sel},
        {"beyond bottom left", {20, 260}, {130, 170}, {108, 192}, sel},
        {"beyond top right", {999, -5}, {299, 101}, {292, 108}, sel},
        // On the exclusive edge the release is outside but has not passed it.
        {"on the right edge", {300, 200}, {299, 199}, {299, 199}, sel},
        {"release in, end out", {150, 150}, {400, 50}, {292, 108}, sel},
        {"end on the edges", {150, 150}, {300, 100}, {300, 100}, sel},
        {"end below left", {150, 150}, {99, 201}, {108, 192}, sel},
        // Narrower than 16 pixels: the second rule may undo the first, as written.
        {"narrow", {50, 50}, {0, 0}, {108, 96}, {100, 100, 110, 104}},
        {"range ends", {INT_MIN, INT_MAX}, {0, 0}, {INT_MAX, INT_MIN}, {INT_MAX - 3, INT_MIN, INT_MAX, INT_MIN + 3}},
    };
    for (const auto& c : cases) EXPECT_EQ(shapegeo::ClampEndPoint(c.release, c.end, c.selection), c.result) << c.what;
}
