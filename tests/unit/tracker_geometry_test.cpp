// The tracker's geometry: handle placement, zones, inverted rectangles and
// the drag steps, checked against worked examples.
#include "tracker/TrackerGeometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <vector>

using C = TrackerCodes;

static std::ostream& operator<<(std::ostream& os, const Rect& r) {
    return os << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
}

namespace {

constexpr unsigned kSessionStyle = 81;  // solid line, handles outside, centred
constexpr int kSize = 4;
const Rect kSel{100, 100, 300, 200};

int Hit(unsigned style, const Rect& r, Point p) {
    return trackgeo::HitTestHandles(style, r, trackgeo::DefaultLayout(style, r, kSize), p);
}

}  // namespace

TEST(TrackerLayout, SessionStyleSquaresAndTrueRect) {
    const trackgeo::Layout l = trackgeo::DefaultLayout(kSessionStyle, kSel, kSize);
    EXPECT_EQ(l.trueRect, (Rect{96, 96, 304, 204}));
    EXPECT_EQ(l.mask, 0xFFu);
    const Rect expected[8] = {
        {98, 98, 102, 102},   {298, 98, 302, 102}, {298, 198, 302, 202}, {98, 198, 102, 202},
        {198, 98, 202, 102},  {298, 148, 302, 152}, {198, 198, 202, 202}, {98, 148, 102, 152},
    };
    for (int i = 0; i < 8; ++i) EXPECT_EQ(l.handles[i], expected[i]) << "handle " << i;
}

TEST(TrackerLayout, EdgeHandlesNeedRoomBetweenCorners) {
    // 3 handles plus more than 4 pixels: 16 is not enough, 17 is.
    EXPECT_EQ(trackgeo::HandleMask(Rect{0, 0, 16, 100}, kSize), 0x0Fu | 0xA0u);
    EXPECT_EQ(trackgeo::HandleMask(Rect{0, 0, 17, 100}, kSize), 0xFFu);
    EXPECT_EQ(trackgeo::HandleMask(Rect{0, 0, 100, 16}, kSize), 0x0Fu | 0x50u);
    EXPECT_EQ(trackgeo::HandleMask(Rect{0, 0, 100, 17}, kSize), 0xFFu);
    // Inverted sides count by their length.
    EXPECT_EQ(trackgeo::HandleMask(Rect{17, 17, 0, 0}, kSize), 0xFFu);
    EXPECT_EQ(trackgeo::HandleMask(Rect{16, 16, 0, 0}, kSize), 0x0Fu);
    // The mask uses the shared size even where the drawn handles shrink.
    EXPECT_EQ(trackgeo::HandleMask(Rect{0, 0, 6, 6}, kSize), 0x0Fu);
}

TEST(TrackerLayout, HandleSizeShrinksOnlyForInsideHandles) {
    const unsigned inside = C::StyleHandlesInside;
    EXPECT_EQ(trackgeo::HandleSize(inside, kSize, Rect{0, 0, 8, 50}), 4);
    EXPECT_EQ(trackgeo::HandleSize(inside, kSize, Rect{0, 0, 7, 50}), 3);
    EXPECT_EQ(trackgeo::HandleSize(inside, kSize, Rect{0, 0, 50, 5}), 2);
    EXPECT_EQ(trackgeo::HandleSize(inside, kSize, Rect{50, 5, 0, 0}), 2);
    EXPECT_EQ(trackgeo::HandleSize(inside, kSize, Rect{0, 0, 1, 1}), 0);
    EXPECT_EQ(trackgeo::HandleSize(C::StyleHandlesOutside, kSize, Rect{0, 0, 1, 1}), 4);
}

TEST(TrackerLayout, TrueRectGrowsByWhatIsDrawnOutside) {
    const Rect r{10, 20, 60, 80};
    EXPECT_EQ(trackgeo::TrueRect(0, r, 4), r);
    EXPECT_EQ(trackgeo::TrueRect(C::StyleSolidLine, r, 4), r.Inflated(1));
    EXPECT_EQ(trackgeo::TrueRect(C::StyleDottedLine, r, 4), r.Inflated(1));
    EXPECT_EQ(trackgeo::TrueRect(C::StyleHandlesInside | C::StyleSolidLine, r, 4), r.Inflated(1));
    EXPECT_EQ(trackgeo::TrueRect(C::StyleHatchedBorder, r, 4), r.Inflated(3));
    EXPECT_EQ(trackgeo::TrueRect(C::StyleHandlesOutside, r, 6), r.Inflated(5));
    // Centred handles reach less far out, but the true rect stays as big.
    EXPECT_EQ(trackgeo::TrueRect(C::StyleHandlesOutside | C::StyleHandlesCentred, r, 4), r.Inflated(3));
    // Normalised, whatever the stored order.
    EXPECT_EQ(trackgeo::TrueRect(kSessionStyle, Rect{60, 80, 10, 20}, 4), r.Inflated(4));
}

TEST(TrackerLayout, HandlePlacementVariants) {
    const Rect r{10, 10, 50, 30};
    // Outside, not centred: squares cover the outline (x = 9 and 50) and
    // reach three pixels beyond it.
    const unsigned outside = C::StyleHandlesOutside | C::StyleSolidLine;
    EXPECT_EQ(trackgeo::HandleRect(outside, r, 4, C::HitTopLeft), (Rect{6, 6, 10, 10}));
    EXPECT_EQ(trackgeo::HandleRect(outside, r, 4, C::HitBottomRight), (Rect{50, 30, 54, 34}));
    // Inside, no line: squares in the corners of the rectangle itself.
    EXPECT_EQ(trackgeo::HandleRect(C::StyleHandlesInside, r, 4, C::HitTopLeft), (Rect{10, 10, 14, 14}));
    EXPECT_EQ(trackgeo::HandleRect(C::StyleHandlesInside, r, 4, C::HitBottomRight), (Rect{46, 26, 50, 30}));
    EXPECT_EQ(trackgeo::HandleRect(C::StyleHandlesInside, r, 4, C::HitRight), (Rect{46, 18, 50, 22}));
    // Centring an odd gap truncates: width 41 - 4 = 37 -> 18.
    EXPECT_EQ(trackgeo::HandleRect(C::StyleHandlesInside, Rect{0, 0, 41, 20}, 4, C::HitTop), (Rect{18, 0, 22, 4}));
    EXPECT_EQ(trackgeo::HandleRect(0, r, 4, C::HitMiddle), Rect{});
}

TEST(TrackerHitTest, SessionZones) {
    EXPECT_EQ(Hit(kSessionStyle, kSel, Point{97, 150}), C::HitNothing);  // band between handles
    EXPECT_EQ(Hit(kSessionStyle, kSel, Point{99, 120}), C::HitMiddle);   // on the outline
    EXPECT_EQ(Hit(kSessionStyle, kSel, Point{99, 150}), C::HitLeft);
    EXPECT_EQ(Hit(kSessionStyle, kSel, Point{100, 100}), C::HitTopLeft);
    EXPECT_EQ(Hit(kSessionStyle, kSel, Point{98, 98}), C::HitTopLeft);
    EXPECT_EQ(Hit(kSessionStyle, kSel, Point{301, 201}), C::HitBottomRight);
    EXPECT_EQ(Hit(kSessionStyle, kSel, Point{302, 201}), C::HitNothing);  // just past the square
    EXPECT_EQ(Hit(kSessionStyle, kSel, Point{300, 200}), C::HitBottomRight);
    EXPECT_EQ(Hit(kSessionStyle, kSel, Point{300, 120}), C::HitMiddle);
    EXPECT_EQ(Hit(kSessionStyle, kSel, Point{301, 120}), C::HitNothing);
    EXPECT_EQ(Hit(kSessionStyle, kSel, Point{200, 99}), C::HitTop);
    EXPECT_EQ(Hit(kSessionStyle, kSel, Point{200, 201}), C::HitBottom);
    EXPECT_EQ(Hit(kSessionStyle, kSel, Point{301, 150}), C::HitRight);
    EXPECT_EQ(Hit(kSessionStyle, kSel, Point{200, 150}), C::HitMiddle);
    EXPECT_EQ(Hit(kSessionStyle, kSel, Point{95, 150}), C::HitNothing);   // outside the true rect
    EXPECT_EQ(Hit(kSessionStyle, kSel, Point{304, 204}), C::HitNothing);
}

TEST(TrackerHitTest, HiddenEdgeHandlesDoNotAnswer) {
    const Rect narrow{100, 100, 116, 200};  // 16 wide: no top/bottom handles
    EXPECT_EQ(Hit(kSessionStyle, narrow, Point{108, 99}), C::HitMiddle);
    EXPECT_EQ(Hit(kSessionStyle, Rect{100, 100, 117, 200}, Point{108, 99}), C::HitTop);
}

TEST(TrackerHitTest, HatchedBorderAndStylesWithoutHandles) {
    const unsigned hatched = C::StyleHatchedBorder | C::StyleHandlesOutside;
    // The gap between handles on a hatched band is part of the middle.
    EXPECT_EQ(Hit(hatched, kSel, Point{97, 130}), C::HitMiddle);
    EXPECT_EQ(Hit(hatched, kSel, Point{96, 130}), C::HitNothing);  // out of the true rect (97..)
    const trackgeo::Layout plain = trackgeo::DefaultLayout(C::StyleSolidLine, kSel, kSize);
    // Without handle styles the whole true rect is the middle, even a corner.
    EXPECT_EQ(trackgeo::HitTest(C::StyleSolidLine, kSel, plain, Point{99, 99}), C::HitMiddle);
    EXPECT_EQ(trackgeo::HitTest(C::StyleSolidLine, kSel, plain, Point{98, 99}), C::HitNothing);
    const trackgeo::Layout session = trackgeo::DefaultLayout(kSessionStyle, kSel, kSize);
    EXPECT_EQ(trackgeo::HitTest(kSessionStyle, kSel, session, Point{99, 150}), C::HitLeft);
    EXPECT_EQ(trackgeo::HitTest(kSessionStyle, kSel, session, Point{97, 150}), C::HitNothing);
}

TEST(TrackerInverted, CodesNameTheStoredCoordinates) {
    const Rect inv{300, 200, 100, 100};
    // Same squares on screen as the ordered rectangle, under other codes.
    const trackgeo::Layout a = trackgeo::DefaultLayout(kSessionStyle, inv, kSize);
    const trackgeo::Layout b = trackgeo::DefaultLayout(kSessionStyle, kSel, kSize);
    EXPECT_EQ(a.trueRect, b.trueRect);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(a.handles[i], b.handles[trackgeo::NormalizeHit(inv, i)]) << i;

    const int hit = Hit(kSessionStyle, inv, Point{100, 100});
    EXPECT_EQ(hit, C::HitBottomRight);
    EXPECT_EQ(trackgeo::NormalizeHit(inv, hit), C::HitTopLeft);
    EXPECT_EQ(Hit(kSessionStyle, inv, Point{99, 150}), C::HitRight);
    EXPECT_EQ(Hit(kSessionStyle, inv, Point{200, 99}), C::HitBottom);

    const trackgeo::MovingEdges e = trackgeo::GetMovingEdges(inv, hit);
    EXPECT_EQ(e.x, trackgeo::Edge::Right);
    EXPECT_EQ(e.y, trackgeo::Edge::Bottom);
    EXPECT_EQ(e.grabX, 100);
    EXPECT_EQ(e.grabY, 100);
}

TEST(TrackerInverted, NormalizeHitPerAxis) {
    const Rect xInv{300, 100, 100, 200};
    const Rect yInv{100, 200, 300, 100};
    const int xExpected[8] = {1, 0, 3, 2, 4, 7, 6, 5};
    const int yExpected[8] = {3, 2, 1, 0, 6, 5, 4, 7};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(trackgeo::NormalizeHit(kSel, i), i);
        EXPECT_EQ(trackgeo::NormalizeHit(xInv, i), xExpected[i]) << i;
        EXPECT_EQ(trackgeo::NormalizeHit(yInv, i), yExpected[i]) << i;
    }
    EXPECT_EQ(trackgeo::NormalizeHit(Rect{300, 200, 100, 100}, C::HitMiddle), C::HitMiddle);
    EXPECT_EQ(trackgeo::NormalizeHit(Rect{300, 200, 100, 100}, C::HitNothing), C::HitNothing);
}

TEST(TrackerDrag, MovingEdgesPerCode) {
    using trackgeo::Edge;
    struct Case { int code; Edge x, y; int gx, gy; };
    const Case cases[] = {
        {C::HitTopLeft, Edge::Left, Edge::Top, 100, 100},
        {C::HitTopRight, Edge::Right, Edge::Top, 300, 100},
        {C::HitBottomRight, Edge::Right, Edge::Bottom, 300, 200},
        {C::HitBottomLeft, Edge::Left, Edge::Bottom, 100, 200},
        {C::HitTop, Edge::None, Edge::Top, 200, 100},
        {C::HitRight, Edge::Right, Edge::None, 300, 150},
        {C::HitBottom, Edge::None, Edge::Bottom, 200, 200},
        {C::HitLeft, Edge::Left, Edge::None, 100, 150},
        {C::HitMiddle, Edge::Left, Edge::Top, 100, 100},
    };
    for (const Case& c : cases) {
        const trackgeo::MovingEdges e = trackgeo::GetMovingEdges(kSel, c.code);
        EXPECT_EQ(e.x, c.x) << c.code;
        EXPECT_EQ(e.y, c.y) << c.code;
        EXPECT_EQ(e.grabX, c.gx) << c.code;
        EXPECT_EQ(e.grabY, c.gy) << c.code;
    }
    // The unmoved axis' grab point uses the length, also when inverted.
    EXPECT_EQ(trackgeo::GetMovingEdges(Rect{300, 200, 100, 100}, C::HitTop).grabX, 400);
}

namespace {
// Widths seen while dragging the right edge of (0,0,100,50) to each x.
std::vector<int> RightEdgeWidths(bool allowInvert, const std::vector<int>& xs) {
    std::vector<int> widths;
    for (int x : xs) {
        Rect r{0, 0, x, 50};
        trackgeo::AdjustRect(C::HitRight, &r, TrackerSize{8, 8}, allowInvert);
        EXPECT_EQ(r.left, 0);
        EXPECT_EQ(r.top, 0);
        EXPECT_EQ(r.bottom, 50);
        widths.push_back(r.right - r.left);
    }
    return widths;
}
}  // namespace

TEST(TrackerAdjust, MinimumSizeWithAndWithoutInversion) {
    const std::vector<int> xs{100, 9, 8, 5, 1, 0, -1, -5, -8, -20};
    EXPECT_EQ(RightEdgeWidths(true, xs), (std::vector<int>{100, 9, 8, 8, 8, 8, -8, -8, -8, -20}));
    EXPECT_EQ(RightEdgeWidths(false, xs), (std::vector<int>{100, 9, 8, 8, 8, 8, 8, 8, 8, 8}));
}

TEST(TrackerAdjust, LeftAndVerticalEdgesAndMiddle) {
    const TrackerSize min{8, 6};
    Rect r{97, 0, 100, 50};  // left edge dragged to 3 px from the right
    trackgeo::AdjustRect(C::HitLeft, &r, min, true);
    EXPECT_EQ(r, (Rect{92, 0, 100, 50}));
    r = Rect{103, 0, 100, 50};  // past the right edge
    trackgeo::AdjustRect(C::HitLeft, &r, min, true);
    EXPECT_EQ(r, (Rect{108, 0, 100, 50}));
    r = Rect{103, 0, 100, 50};
    trackgeo::AdjustRect(C::HitLeft, &r, min, false);
    EXPECT_EQ(r, (Rect{92, 0, 100, 50}));
    r = Rect{0, 0, 100, 2};  // bottom edge too close: only y changes
    trackgeo::AdjustRect(C::HitBottom, &r, min, false);
    EXPECT_EQ(r, (Rect{0, 0, 100, 6}));
    r = Rect{0, 0, 3, 2};  // a corner adjusts both axes
    trackgeo::AdjustRect(C::HitBottomRight, &r, min, false);
    EXPECT_EQ(r, (Rect{0, 0, 8, 6}));
    r = Rect{0, 0, 3, 2};  // a move never resizes
    trackgeo::AdjustRect(C::HitMiddle, &r, min, false);
    EXPECT_EQ(r, (Rect{0, 0, 3, 2}));
}

TEST(TrackerDrag, ResizeFromBottomRightFollowsThePointer) {
    // Pressed 1 px inside the corner; the corner keeps that offset.
    const trackgeo::Drag d = trackgeo::BeginDrag(kSel, C::HitBottomRight, Point{299, 199});
    const TrackerSize min{8, 8};
    Rect r = kSel;
    const Point path[] = {{320, 240}, {150, 120}, {50, 60}};
    const Rect expectInvert[] = {{100, 100, 321, 241}, {100, 100, 151, 121}, {100, 100, 51, 61}};
    const Rect expectPlain[] = {{100, 100, 321, 241}, {100, 100, 151, 121}, {100, 100, 108, 108}};
    for (int i = 0; i < 3; ++i) {
        r = trackgeo::TrackStep(d, r, path[i], min, true);
        EXPECT_EQ(r, expectInvert[i]) << i;
    }
    r = kSel;
    for (int i = 0; i < 3; ++i) {
        r = trackgeo::TrackStep(d, r, path[i], min, false);
        EXPECT_EQ(r, expectPlain[i]) << i;
    }
}

TEST(TrackerDrag, EdgeResizeMovesOneAxisOnly) {
    const trackgeo::Drag d = trackgeo::BeginDrag(kSel, C::HitTop, Point{200, 99});
    EXPECT_EQ(trackgeo::TrackStep(d, kSel, Point{10, 49}, TrackerSize{8, 8}, false), (Rect{100, 50, 300, 200}));
    const trackgeo::Drag l = trackgeo::BeginDrag(kSel, C::HitLeft, Point{99, 150});
    EXPECT_EQ(trackgeo::TrackStep(l, kSel, Point{79, 500}, TrackerSize{8, 8}, false), (Rect{80, 100, 300, 200}));
}

TEST(TrackerDrag, MoveKeepsTheSizeExactly) {
    const Rect rects[] = {kSel, Rect{300, 200, 100, 100}, Rect{300, 100, 100, 200}};
    for (const Rect& start : rects) {
        const trackgeo::Drag d = trackgeo::BeginDrag(start, C::HitMiddle, Point{180, 130});
        Rect r = start;
        const Point path[] = {{190, 135}, {0, 0}, {-50, 900}};
        for (const Point& p : path) {
            r = trackgeo::TrackStep(d, r, p, TrackerSize{8, 8}, true);
            EXPECT_EQ(r.right - r.left, start.right - start.left) << start;
            EXPECT_EQ(r.bottom - r.top, start.bottom - start.top) << start;
            EXPECT_EQ(r.left - start.left, p.x - 180) << start;
            EXPECT_EQ(r.top - start.top, p.y - 130) << start;
        }
    }
}

TEST(TrackerDrag, InvertedRectResizedFromItsScreenTopLeft) {
    const Rect inv{300, 200, 100, 100};
    const trackgeo::Drag d = trackgeo::BeginDrag(inv, C::HitBottomRight, Point{100, 100});
    EXPECT_EQ(trackgeo::TrackStep(d, inv, Point{90, 80}, TrackerSize{8, 8}, true), (Rect{300, 200, 90, 80}));
    EXPECT_EQ(trackgeo::TrackStep(d, inv, Point{297, 199}, TrackerSize{8, 8}, true), (Rect{300, 200, 292, 192}));
    // Without inversion nothing stays inside out: the moving edge is put the
    // minimum away on the ordered side.
    EXPECT_EQ(trackgeo::TrackStep(d, inv, Point{90, 80}, TrackerSize{8, 8}, false), (Rect{300, 200, 308, 208}));
}
