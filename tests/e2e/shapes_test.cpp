// Marking up the selection as a user would: each kind of mark in the chosen
// colour and width, exactly as the platform itself draws it, newer marks over
// older ones, and undo mark by mark.
#include "tests/e2e/ToolBarDriver.h"

using namespace e2e;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 128, 255);

class Shapes : public MarkupFixture {
protected:
    // A free-hand drag through the points, released at the last. Each step
    // waits until the stroke shows on the screen up to the point just
    // reached: moves that reach a busy program's queue together are merged
    // (a stroke's first press copies the whole window), as the platform
    // merges any pointer moves, and the stroke would then skip a point.
    static void Stroke(const std::vector<POINT>& points, COLORREF colour) {
        MoveTo(points[0].x, points[0].y);
        LeftDown();
        for (size_t i = 1; i < points.size(); ++i) {
            MoveTo(points[i].x, points[i].y);
            WaitFor([&] { return ShownAt(points[i]) == colour; }, 2000, 10);
        }
        LeftUp();
    }

    static COLORREF ShownAt(POINT p) {
        HDC screen = GetDC(nullptr);
        const COLORREF c = GetPixel(screen, p.x, p.y);
        ReleaseDC(nullptr, screen);
        return c;
    }
};

}  // namespace

TEST_F(Shapes, RectanglesTakeTheWidthAndColourChosenBeforeThemAndClampOutside) {
    const Bar bar = SelectAndChoose(kRect);
    ClickButton(bar, kWidth5);
    Drag(POINT{400, 300}, POINT{600, 450});
    ASSERT_TRUE(ChooseColour(bar, capture_, 0, 128, 255));
    ClickButton(bar, kWidth8);
    Drag(POINT{700, 500}, POINT{500, 350});  // up and left, over the first
    ClickButton(bar, kWidth2);
    // Released beyond the right edge: the end keeps the last inside move's y
    // and is pulled 8 pixels inside the selection's outer right edge.
    const auto earlier = [](HDC dc) {
        DrawRectangle(dc, {400, 300}, {600, 450}, 5, kRed);
        DrawRectangle(dc, {700, 500}, {500, 350}, 8, kBlue);
    };
    MoveTo(800, 550);
    LeftDown();
    MoveTo(1050, 680);
    MoveTo(1000, 600);
    // The live preview leaves nothing of its larger self behind.
    EXPECT_EQ("", Shows(
                      [&](HDC dc) {
                          earlier(dc);
                          DrawRectangle(dc, {800, 550}, {1000, 600}, 2, kBlue);
                      },
                      "preview"));
    MoveTo(1200, 650);
    LeftUp();
    const auto marks = [&](HDC dc) {
        earlier(dc);
        DrawRectangle(dc, {800, 550}, {1096, 600}, 2, kBlue);
    };
    EXPECT_EQ("", Shows(marks, "rectangles"));
    FinishAndExpect(bar, marks);
}

TEST_F(Shapes, EllipsesAreSmoothInTheirColourWhicheverWayTheyAreDragged) {
    const Bar bar = SelectAndChoose(kEllipse);
    Drag(POINT{350, 250}, POINT{650, 480});
    ClickButton(bar, kWidth8);
    ASSERT_TRUE(ChooseColour(bar, capture_, 0, 128, 255));
    Drag(POINT{1000, 650}, POINT{600, 300});
    const auto marks = [](HDC dc) {
        DrawEllipse(dc, {350, 250}, {650, 480}, 2, kRed);
        DrawEllipse(dc, {1000, 650}, {600, 300}, 8, kBlue);
    };
    EXPECT_EQ("", Shows(marks, "ellipses"));
    FinishAndExpect(bar, marks);
}

TEST_F(Shapes, ArrowsIgnoreTheWidthShortOnesVanishAndUndoTakesTheNewest) {
    const Bar bar = SelectAndChoose(kArrow);
    ClickButton(bar, kWidth8);
    Drag(POINT{400, 300}, POINT{415, 300}, 3);  // 15 pixels: kept
    Drag(POINT{400, 400}, POINT{414, 400}, 3);  // 14 pixels: gone at the release
    // While dragged, the live preview turns and shrinks, and only the arrow
    // under the pointer shows.
    MoveTo(500, 600);
    LeftDown();
    for (POINT p : {POINT{1000, 300}, POINT{700, 650}, POINT{950, 650}, POINT{800, 400}}) MoveTo(p.x, p.y);
    EXPECT_EQ("", Shows(
                      [](HDC dc) {
                          DrawArrow(dc, {400, 300}, {415, 300}, kRed);
                          DrawArrow(dc, {500, 600}, {800, 400}, kRed);
                      },
                      "arrow-preview"));
    MoveTo(900, 350);
    LeftUp();
    EXPECT_EQ("", Shows(
                      [](HDC dc) {
                          DrawArrow(dc, {400, 300}, {415, 300}, kRed);
                          DrawArrow(dc, {500, 600}, {900, 350}, kRed);
                      },
                      "arrows"));
    Key('Z', Ctrl);
    FinishAndExpect(bar, [](HDC dc) { DrawArrow(dc, {400, 300}, {415, 300}, kRed); });
}

TEST_F(Shapes, PenStrokesAndUndoMarkByMarkUntilTheCaptureEnds) {
    const Bar bar = SelectAndChoose(kPen);
    ClickButton(bar, kWidth5);
    const std::vector<POINT> first{{400, 300}, {500, 320}, {560, 400}, {520, 480}};
    Stroke(first, kRed);
    ClickButton(bar, kRect);
    Drag(POINT{700, 300}, POINT{900, 450});
    const auto firstOnly = [&](HDC dc) { DrawStroke(dc, first, 5, kRed); };
    EXPECT_EQ("", Shows(
                      [&](HDC dc) {
                          firstOnly(dc);
                          DrawRectangle(dc, {700, 300}, {900, 450}, 5, kRed);
                      },
                      "stroke-and-rectangle"));
    // Ctrl+Z takes the rectangle and leaves the pen chosen.
    Key('Z', Ctrl);
    EXPECT_EQ("", Shows(firstOnly, "after-ctrl-z"));
    const std::vector<POINT> second{{700, 500}, {800, 520}, {900, 600}, {950, 610}};
    Stroke(second, kRed);
    EXPECT_EQ("", Shows(
                      [&](HDC dc) {
                          firstOnly(dc);
                          DrawStroke(dc, second, 5, kRed);
                      },
                      "two-strokes"));
    ClickButton(bar, kUndo);
    EXPECT_EQ("", Shows(firstOnly, "after-undo-button"));
    Key('Z', Ctrl);
    EXPECT_EQ("", Shows([](HDC) {}, "all-undone"));
    ASSERT_TRUE(program_->Running());
    Key('Z', Ctrl);
    EXPECT_TRUE(program_->WaitExit(3000)) << "undo with nothing left did not end the capture";
}
