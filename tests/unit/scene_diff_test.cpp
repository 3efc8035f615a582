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

// With the tracker's exact pixels, as a corner is dragged the opposite edges'
// lines stay out of the change along their length; the lines that moved and
// the handles that moved are in it, where they were and where they are.
TEST(SceneDiff, KnownTrackerPixelsChangeOnlyWhereOneDrawingSetsThemAndTheOtherNot) {
    auto outline = [](const Rect& t) {
        trackgeo::DrawnPixelSet pixels;
        pixels.lines = EdgeBand(t.Inflated(-4), 1);
        const int mid = (t.left + t.right) / 2;
        pixels.handles = {Rect{t.left, t.top, t.left + 4, t.top + 4},           // fixed corner
                          Rect{t.right - 4, t.bottom - 4, t.right, t.bottom},   // dragged corner
                          Rect{mid - 2, t.top, mid + 2, t.top + 4}};            // top centre
        return pixels;
    };
    Look before = Selected({100, 100, 600, 400}), after = Selected({100, 100, 610, 405});
    before.trackerPixels = outline(before.trueRect);
    after.trackerPixels = outline(after.trueRect);
    const struct {
        Point p;
        bool changed;
    } cases[] = {
        {{104, 250}, false},  // the left line stays
        {{300, 104}, false},  // the top line stays where no handle came or went
        {{102, 102}, false},  // the fixed corner's handle
        {{595, 250}, true},   // the right line where it was
        {{605, 250}, true},   // and where it is
        {{350, 102}, true},   // the top centre handle where it was
        {{354, 102}, true},   // and where it is
        {{300, 103}, false},  // beside the top line
        {{602, 396}, true},   // the dragged corner's old handle
    };
    scene::Change c = Diff(before, after);
    for (const auto& k : cases) EXPECT_EQ(k.changed, Covers(c.areas, k.p)) << k.p.x << "," << k.p.y;
    // Another colour, or pixels not known on one side: the whole drawn areas.
    for (int variant = 0; variant < 2; ++variant) {
        Look other = after;
        if (variant == 0) other.trackerColor = 7;
        else other.trackerPixels.reset();
        EXPECT_TRUE(Covers(Diff(before, other).areas, {104, 250})) << variant;
    }
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
    // Overlapping pieces on either side: what is covered by exactly one.
    const std::vector<Rect> a{{0, 0, 10, 10}, {5, 0, 15, 10}}, b{{10, 0, 20, 10}};
    int covered = 0;
    for (int x = -1; x < 21; ++x) covered += Covers(SymmetricDifference(a, b), {x, 5});
    EXPECT_EQ(covered, 10 + 5);
    EXPECT_FALSE(Covers(SymmetricDifference(a, b), {12, 5}));
    EXPECT_TRUE(SymmetricDifference(a, a).empty());
}

}  // namespace
