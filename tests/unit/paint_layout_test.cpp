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
