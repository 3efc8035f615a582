#include <gtest/gtest.h>

#include "capture/GrabGeometry.h"
#include "capture/KeyboardNudge.h"
#include "platform/PathText.h"

namespace {
void ExpectGrab(const GrabRegion& g, int x, int y, int w, int h) {
    EXPECT_TRUE(g.valid);
    EXPECT_EQ(x, g.srcX);
    EXPECT_EQ(y, g.srcY);
    EXPECT_EQ(w, g.width);
    EXPECT_EQ(h, g.height);
}
}  // namespace

TEST(GrabRegion, ClipboardGrabLeavesOutTheTwoPixelBandAfterClipping) {
    ExpectGrab(ComputeGrabRegion({100, 100, 300, 200}, 1920, 1080, true), 102, 102, 196, 96);
    ExpectGrab(ComputeGrabRegion({-50, 10, 100, 60}, 1920, 1080, true), 2, 12, 96, 46);
    // Cut at the screen's size before the margin is taken off.
    ExpectGrab(ComputeGrabRegion({1800, 1000, 2000, 1200}, 1920, 1080, true), 1802, 1002, 116, 76);
    ExpectGrab(ComputeGrabRegion({-10, -10, 5000, 5000}, 1920, 1080, true), 2, 2, 1916, 1076);
}

TEST(GrabRegion, SnapshotGrabTakesTheWholeRectangle) {
    ExpectGrab(ComputeGrabRegion({0, 0, 1920, 1080}, 1920, 1080, false), 0, 0, 1920, 1080);
    ExpectGrab(ComputeGrabRegion({-5, 3, 10, 8}, 1920, 1080, false), 0, 3, 10, 5);
}

TEST(GrabRegion, EmptyInvertedAndTooSmallSelectionsGrabNothing) {
    for (Rect r : {Rect{300, 200, 100, 100}, Rect{-1, -2, -3, -4}, Rect{-1, -1, -1, -1}, Rect{5, 5, 5, 9},
                   Rect{100, 100, 104, 300}, Rect{100, 100, 300, 103}, Rect{-10, 50, 4, 90},
                   Rect{1916, 0, 2500, 100}, Rect{2000, 10, 2100, 100}}) {
        EXPECT_FALSE(ComputeGrabRegion(r, 1920, 1080, true).valid)
            << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
    // Five pixels clipped leave one.
    ExpectGrab(ComputeGrabRegion({100, 100, 105, 300}, 1920, 1080, true), 102, 102, 1, 196);
    // A rectangle wholly off the screen grabs nothing even without the margin.
    EXPECT_FALSE(ComputeGrabRegion({2000, 0, 2100, 10}, 1920, 1080, false).valid);
}

TEST(KeyboardNudge, ArrowsMoveAndShiftArrowsResizeByOnePixelWithoutLimit) {
    Rect r{100, 100, 300, 200};
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(NudgeSelection(r, 0x27, true));
    EXPECT_EQ((Rect{100, 100, 303, 200}), r);
    EXPECT_TRUE(NudgeSelection(r, 0x25, false));
    EXPECT_EQ((Rect{99, 100, 302, 200}), r);
    EXPECT_TRUE(NudgeSelection(r, 0x26, false));
    EXPECT_TRUE(NudgeSelection(r, 0x28, true));
    EXPECT_TRUE(NudgeSelection(r, 0x28, true));
    EXPECT_EQ((Rect{99, 99, 302, 201}), r);
    EXPECT_TRUE(NudgeSelection(r, 0x26, true));
    EXPECT_TRUE(NudgeSelection(r, 0x25, true));
    EXPECT_EQ((Rect{99, 99, 301, 200}), r);
    // Other keys leave it alone.
    EXPECT_FALSE(NudgeSelection(r, 0x41, false));
    EXPECT_FALSE(NudgeSelection(r, 0x0D, true));
    EXPECT_EQ((Rect{99, 99, 301, 200}), r);
    // Past the screen's edges, and on an inverted rectangle as stored.
    Rect edge{0, 0, 10, 10};
    for (int i = 0; i < 20; ++i) NudgeSelection(edge, 0x25, false);
    EXPECT_EQ((Rect{-20, 0, -10, 10}), edge);
    Rect inverted{300, 200, 100, 100};
    NudgeSelection(inverted, 0x27, true);
    EXPECT_EQ((Rect{300, 200, 101, 100}), inverted);
}

TEST(PathText, DirectoryKeepsItsBackslash) {
    EXPECT_EQ("C:\\Tools\\", DirectoryWithBackslash("C:\\Tools\\snapcrest.exe"));
    EXPECT_EQ("\\\\server\\share\\", DirectoryWithBackslash("\\\\server\\share\\a.exe"));
    EXPECT_EQ("", DirectoryWithBackslash("snapcrest.exe"));
}
