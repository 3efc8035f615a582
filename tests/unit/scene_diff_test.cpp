// Where two pictures of a session differ: only there is composing and showing
// needed, so an area left out here shows stale pixels and one too many costs
// time on every pointer move.
#include "capture/SceneDiff.h"

#include <gtest/gtest.h>

namespace {

using scene::Diff;
using scene::Look;

long AreaOf(const std::vector<Rect>& rects) {
    long sum = 0;
    for (const Rect& r : rects) sum += static_cast<long>(r.Width()) * r.Height();
    return sum;
}

bool Covers(const std::vector<Rect>& rects, Point p) {
    for (const Rect& r : rects)
        if (r.Contains(p)) return true;
    return false;
}

Look Selected(const Rect& t) {
    Look l;
    l.valid = l.hasSelection = true;
    l.trueRect = t;
    l.trackerArea = EdgeBand(t.Inflated(-2), 3);
    l.labelBox = Rect{t.left, t.top - 25, t.left + 86, t.top - 1};
    l.labelText = std::to_string(t.Width()) + " X " + std::to_string(t.Height());
    l.barRect = Rect{t.right - 300, t.bottom + 4, t.right, t.bottom + 40};
    return l;
}

TEST(SceneDiff, WholeScreenWhenNothingIsKnownOrTheSelectionComesOrGoes) {
    Look none;
    none.valid = true;
    EXPECT_TRUE(Diff(Look{}, Selected({10, 10, 100, 100})).whole);
    EXPECT_TRUE(Diff(none, Selected({10, 10, 100, 100})).whole);
    EXPECT_TRUE(Diff(Selected({10, 10, 100, 100}), none).whole);
    EXPECT_TRUE(Diff(none, none).Empty());
    EXPECT_TRUE(Diff(Selected({10, 10, 100, 100}), Selected({10, 10, 100, 100})).Empty());
}

TEST(SceneDiff, AGrowingSelectionChangesItsMovingEdgesLabelAndBarNotItsMiddle) {
    const Look before = Selected({100, 100, 600, 400}), after = Selected({100, 100, 610, 405});
    const scene::Change c = Diff(before, after);
    ASSERT_FALSE(c.whole);
    const struct {
        Point p;
        bool changed;
    } cases[] = {
        {{350, 250}, false},  // the middle stays bright
        {{604, 250}, true},   // newly bright strip at the right
        {{350, 399}, true},   // and at the bottom
        {{102, 102}, true},   // the tracker band, its handles redrawn
        {{120, 90}, true},    // the label's text changed
        {{500, 420}, true},   // the bar moved
        {{50, 250}, false},   // dimmed far away
    };
    for (const auto& k : cases) EXPECT_EQ(k.changed, Covers(c.areas, k.p)) << k.p.x << "," << k.p.y;
    EXPECT_LT(AreaOf(c.areas), 600L * 300 / 2) << "far less than the selection";
}

TEST(SceneDiff, ShapesChangeOnlyTheirOldAndNewBounds) {
    Look before = Selected({0, 0, 800, 600});
    static int a, b, n;
    before.shapes = {{&a, {10, 10, 50, 50}, 1}, {&b, {100, 100, 150, 150}, 2}};
    Look after = before;
    after.shapes[1].bounds = Rect{100, 100, 170, 160};  // the newest grew
    after.shapes.push_back({&n, {300, 300, 320, 320}, 3});
    scene::Change c = Diff(before, after);
    EXPECT_TRUE(Covers(c.areas, {160, 155}));
    EXPECT_TRUE(Covers(c.areas, {310, 310}));
    EXPECT_FALSE(Covers(c.areas, {20, 20}));
    // Same bounds, other pixels (a stroke got a point inside them).
    after = before;
    after.shapes[0].stamp = 9;
    EXPECT_TRUE(Covers(Diff(before, after).areas, {20, 20}));
    // Taken away by undo.
    after = before;
    after.shapes.pop_back();
    EXPECT_TRUE(Covers(Diff(before, after).areas, {120, 120}));
}

TEST(SceneDiff, SubtractAndEdgeBand) {
    EXPECT_EQ(AreaOf(Subtract({0, 0, 10, 10}, {2, 2, 8, 8})), 100 - 36);
    EXPECT_EQ(AreaOf(Subtract({0, 0, 10, 10}, {20, 20, 30, 30})), 100);
    EXPECT_TRUE(Subtract({0, 0, 10, 10}, {-1, -1, 11, 11}).empty());
    EXPECT_EQ(AreaOf(EdgeBand({0, 0, 100, 50}, 12)), 100L * 50 - 76L * 26);
    EXPECT_EQ(AreaOf(EdgeBand({0, 0, 20, 20}, 12)), 400) << "a small selection is all band";
}

}  // namespace
