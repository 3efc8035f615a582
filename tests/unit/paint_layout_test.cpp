#include <gtest/gtest.h>

#include <cstring>

#include "capture/PaintLayout.h"

TEST(SizeLabel, SitsAboveTheSelectionInsideNearTheTopAndAboveABarAbove) {
    // A true rectangle at y = 10 gets its box inside, from y = 10 to 30.
    Rect t{100, 10, 300, 200};
    EXPECT_EQ((Rect{100, 10, 180, 30}), SizeLabelBox(t.left, SizeLabelY(t, false)));
    EXPECT_EQ((Rect{100, 10, 180, 30}), SizeLabelBox(t.left, SizeLabelY(t, true)));
    // At y = 30 it moves just above: 8 to 28.
    t.top = 30;
    EXPECT_EQ((Rect{100, 8, 180, 28}), SizeLabelBox(t.left, SizeLabelY(t, false)));
    // Above a bar that sits above the selection.
    t.top = 500;
    EXPECT_EQ(458, SizeLabelY(t, true));
    EXPECT_EQ((Rect{100, 436, 180, 456}), SizeLabelBox(t.left, SizeLabelY(t, true)));
    EXPECT_EQ(29 + 22, SizeLabelY(Rect{0, 29, 10, 40}, true));
}

TEST(SizeLabel, TextIsCentredInTheBoxTruncatingTowardZero) {
    EXPECT_EQ((Point{121, 480}), SizeLabelTextOrigin(100, 500, 37, 15));
    // Wider than the box: overhangs it on both sides.
    EXPECT_EQ((Point{95, 479}), SizeLabelTextOrigin(100, 500, 91, 17));
}

TEST(SizeLabel, ReadsTheTrueRectangleWhicheverWayItWasDragged) {
    char text[256];
    // A 200 x 100 selection with 4-pixel handles.
    FormatSizeText(Rect{96, 96, 304, 204}, text, sizeof text);
    EXPECT_STREQ("208 X 108", text);
    FormatSizeText(Rect{-2147483647, 0, 2147483647, -2147483647}, text, sizeof text);
    EXPECT_LT(std::strlen(text), 27u);
}

TEST(ToolBarPlacement, BelowWhenItFitsElseAbove) {
    const int H = 1080;
    // 43 or more pixels above the bottom: below.
    ToolBarPlacement below = PlaceToolBar(Rect{400, 300, 800, H - 43}, H);
    EXPECT_FALSE(below.above);
    EXPECT_EQ((Point{481, H - 41}), below.bar);
    EXPECT_EQ((Point{481, H - 41}), below.panel);
    // One pixel lower: above.
    ToolBarPlacement above = PlaceToolBar(Rect{400, 300, 800, H - 42}, H);
    EXPECT_TRUE(above.above);
    EXPECT_EQ((Point{481, 262}), above.bar);
    EXPECT_EQ((Point{360, 219}), above.panel);
    // Nothing is clamped at the left edge.
    EXPECT_EQ(-219, PlaceToolBar(Rect{0, 0, 100, 100}, H).bar.x);
}

TEST(SelectionInteriorTest, IsTheTrueRectangleShrunkByFive) {
    EXPECT_EQ((Rect{101, 101, 299, 199}), SelectionInterior(Rect{96, 96, 304, 204}));
}

TEST(PointerReadout, FollowsThePointerAndGivesWayAtTheRightAndTopEdges) {
    // A 12-pixel font whose reference text is 60 pixels wide: a 110 x 22 box.
    const int W = 1920, lh = 12, cx = 60;
    struct Case {
        Point p;
        Rect box;
    } cases[] = {
        {{500, 400}, {503, 375, 613, 397}},   // above and to the right
        {{1809, 400}, {1812, 375, 1922, 397}},  // p.x + 110 = W - 1: still right
        {{1810, 400}, {1697, 375, 1807, 397}},  // p.x + 110 = W: left
        {{500, 23}, {503, -2, 613, 20}},        // one pixel below the limit: above
        {{500, 22}, {503, 25, 613, 47}},        // p.y = 22: below
        {{1900, 5}, {1787, 8, 1897, 30}},       // top-right corner: both
    };
    for (const Case& c : cases) {
        const ReadoutLayout r = PlaceReadout(c.p, lh, cx, W);
        SCOPED_TRACE(testing::Message() << "pointer " << c.p.x << ", " << c.p.y);
        EXPECT_EQ(c.box, r.box);
        EXPECT_EQ((Rect{c.box.left, c.box.top, c.box.left + 111, c.box.top + 36}), r.fill);
        EXPECT_EQ((Rect{c.box.left, c.box.top + 2, c.box.right, c.box.top + 14}), r.line1);
        EXPECT_EQ((Rect{c.box.left, c.box.top + 14, c.box.right, c.box.top + 26}), r.line2);
        // The fixed fill reaches one pixel right of the box and 14 below it.
        EXPECT_EQ((Rect{c.box.left, c.box.top, c.box.left + 111, c.box.top + 36}), r.Bounds());
    }
    // A larger font: the text outgrows the fill, and the box is taller.
    const ReadoutLayout big = PlaceReadout(Point{500, 400}, 20, 100, W);
    EXPECT_EQ((Rect{503, 327, 653, 397}), big.box);
    EXPECT_EQ((Rect{503, 329, 653, 369}), big.line1.United(big.line2));
    EXPECT_EQ(big.box, big.Bounds());
    // A tiny font turns the box inside out; the bounds still hold all of it.
    const ReadoutLayout tiny = PlaceReadout(Point{500, 400}, 8, 40, W);
    EXPECT_EQ((Rect{503, 397, 593, 399}), tiny.box.Normalized());
    EXPECT_EQ((Rect{503, 397, 614, 435}), tiny.Bounds());
}

TEST(PointerReadout, IsHiddenOnlyWhenTheInteriorCoversAllItTouches) {
    // Pointer (500, 400), a 12-pixel font: drawn on (503, 375)-(614, 411),
    // marked with two pixels more on each side: (501, 373)-(616, 413).
    const ReadoutLayout r = PlaceReadout(Point{500, 400}, 12, 60, 1920);
    struct Case {
        Rect trueRect;
        bool hidden;
    } cases[] = {
        {{496, 368, 621, 418}, true},    // the interior is exactly the marked area
        {{496, 368, 620, 418}, false},   // a pixel short on the right
        {{497, 368, 621, 418}, false},   // on the left
        {{496, 369, 621, 418}, false},   // at the top
        {{496, 368, 621, 417}, false},   // at the bottom
        {{100, 100, 1000, 800}, true},   // moving a large selection by its middle
        {{100, 100, 500, 400}, false},   // the pointer at the corner of the first drag
        {{600, 300, 200, 500}, false},   // an inverted selection has no interior
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "selection " << c.trueRect.left << "," << c.trueRect.top << ","
                                        << c.trueRect.right << "," << c.trueRect.bottom);
        EXPECT_EQ(c.hidden, ReadoutHiddenByInterior(r, c.trueRect));
    }
}

TEST(PointerReadout, LinesInCodePage936) {
    EXPECT_EQ(0, std::memcmp(kReadoutReferenceText, "\xB6\xA5\xB5\xE3\xCE\xBB\xD6\xC3  ", 11));
    EXPECT_EQ(kReadoutReferenceLength, static_cast<int>(std::strlen(kReadoutReferenceText)));
    char text[64];
    // A selection from (100, 100) to (300, 200) with 4-pixel handles.
    FormatReadoutCorner(Rect{96, 96, 304, 204}, text, sizeof text);
    EXPECT_STREQ("\xB6\xA5\xB5\xE3\xCE\xBB\xD6\xC3(96,96)", text);
    FormatReadoutCorner(Rect{-2147483647 - 1, -2147483647 - 1, 0, 0}, text, sizeof text);
    EXPECT_STREQ("\xB6\xA5\xB5\xE3\xCE\xBB\xD6\xC3(-2147483648,-2147483648)", text);
    // Red is the low byte of a GDI colour; a failed read (all ones) is white.
    FormatReadoutColour(0x00FF640A, text, sizeof text);
    EXPECT_STREQ("RGB(10,100,255)", text);
    FormatReadoutColour(0xFFFFFFFF, text, sizeof text);
    EXPECT_STREQ("RGB(255,255,255)", text);
}
