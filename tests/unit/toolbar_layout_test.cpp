// Where the tool bar and its panel put their buttons, against worked numbers,
// including backgrounds missing or shorter than their buttons.
#include "toolbar/ToolBarLayout.h"

#include <gtest/gtest.h>

#include <ostream>

static std::ostream& operator<<(std::ostream& os, const Point& p) { return os << "(" << p.x << "," << p.y << ")"; }
static std::ostream& operator<<(std::ostream& os, const Rect& r) {
    return os << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
}

using namespace toolbar;

TEST(ToolBarLayout, RowTopCentresOrClampsToTheBackground) {
    // top, background height, button height, row top
    const int cases[][4] = {{300, 38, 24, 307}, {300, 39, 24, 307}, {-200, 38, 24, -193}, {300, 24, 24, 300},
                            {300, 20, 24, 300}, {300, 0, 24, 300},   {300, 38, 0, 319}};
    for (const auto& c : cases) EXPECT_EQ(RowTop(c[0], c[1], c[2]), c[3]) << c[0] << " " << c[1] << " " << c[2];
}

TEST(ToolBarLayout, RowAndPanelForAnAnchorAndBeforeTheFirstPlacement) {
    const RowLayout row = LayoutRow(500, 300, 38, 24);
    EXPECT_EQ(row.bar, (Rect{470, 300, 809, 338}));
    EXPECT_EQ(LayoutRow(500, 300, 0, 24).bar, row.bar);  // whatever the image
    const PanelLayout panel = LayoutPanel(500, 300, 30, 18);
    EXPECT_EQ(panel.background, (Point{500, 343}));
    EXPECT_EQ(LayoutPanel(500, 300, 0, 18).buttons[3], (Point{574, 338}));  // no background
    // Until the first placement both rows start at the origin.
    const InitialLayout initial = LayoutInitial(0, 0, 38, 24, 30, 18);
    // List order; on the screen close comes before save.
    const int xs[kBarButtons] = {485, 515, 545, 575, 605, 635, 695, 665, 725};
    const Point panelAt[kPanelButtons] = {{504, 349}, {524, 349}, {544, 349}, {574, 344}};
    for (int i = 0; i < kBarButtons; ++i) {
        EXPECT_EQ(row.buttons[i], (Point{xs[i], 307})) << i;
        EXPECT_EQ(initial.bar[i], (Point{xs[i] - 485, 7})) << i;
    }
    for (int i = 0; i < kPanelButtons; ++i) {
        EXPECT_EQ(panel.buttons[i], panelAt[i]) << i;
        EXPECT_EQ(initial.panel[i], (Point{panelAt[i].x - 504, panelAt[i].y - 343})) << i;
    }
}

TEST(ToolBarLayout, PanelAreaCoversBackgroundButtonsAndSwatchOutline) {
    // A colour button raised out of a short background, size buttons hanging below it.
    const std::array<Rect, kPanelButtons> b = {Rect{204, 149, 222, 167}, Rect{224, 149, 242, 167},
                                                Rect{244, 149, 262, 167}, Rect{274, 138, 298, 162}};
    EXPECT_EQ(PanelArea(Rect{200, 143, 302, 163}, b, b[3]), (Rect{200, 137, 302, 167}));
    EXPECT_EQ(PanelArea(Rect{}, b, Rect{}), (Rect{204, 138, 298, 167}));  // missing images add nothing
    EXPECT_EQ(PanelArea(Rect{}, {}, Rect{}), Rect{});
}
