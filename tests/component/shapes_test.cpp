// The shapes drawn onto 32-bit DIB sections and read back: what each kind
// changes stays inside its bounds, drag direction and pen width matter only
// where they should, smoothing is where it should be, and a stroke drawn a
// segment at a time is the stroke drawn whole.
#include "shapes/Shapes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>

#include "platform/Gdiplus.h"
#include "platform/Surface.h"
#include "shapes/ArrowGeometry.h"

void PrintTo(const Rect& r, std::ostream* os) {
    *os << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
}

namespace {

using Pixels = std::vector<uint32_t>;
constexpr uint32_t kBackground = 0x00203040;
const COLORREF kColors[] = {0x000000FF, 0x0000C000, 0x00FF8010};
const int kWidths[] = {2, 5, 8};
enum Kind { kRect, kCircle, kArrow, kPen };

struct Canvas {
    Surface s;
    explicit Canvas(int w = 320, int h = 320) {
        s.CreateDib(w, h);
        std::fill(px(), px() + w * h, kBackground);
    }
    uint32_t* px() const { return static_cast<uint32_t*>(s.bits()); }
    Pixels Get() const {
        GdiFlush();
        return Pixels(px(), px() + s.width() * s.height());
    }
    // How many pixels differ from `before`, and how many of those lie outside `r`.
    int Outside(const Pixels& before, const Rect& r, int* changed = nullptr) const {
        const Pixels now = Get();
        int outside = 0, count = 0;
        for (int i = 0; i < static_cast<int>(now.size()); ++i) {
            if (now[i] == before[i]) continue;
            ++count;
            outside += !r.Contains(Point{i % s.width(), i / s.width()});
        }
        if (changed) *changed = count;
        return outside;
    }
};

uint32_t Rgb(uint32_t pixel) { return pixel & 0xFFFFFF; }
uint32_t PixelOf(COLORREF c) { return GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c); }

// A random walk of n points from `from`, kept 20 pixels inside a w x h canvas.
std::vector<Point> Walk(Point from, int n, int w, int h, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> step(-12, 12);
    std::vector<Point> pts;
    for (int i = 0; i < n; ++i) {
        from = Point{std::clamp(from.x + step(rng), 20, w - 20), std::clamp(from.y + step(rng), 20, h - 20)};
        pts.push_back(from);
    }
    return pts;
}

template <typename Shape = CShapeBase>
std::unique_ptr<Shape> Make(Kind k, Point a, Point b, int width, COLORREF color) {
    CShapeBase* s = k == kRect ? static_cast<CShapeBase*>(new CShapeRect)
                  : k == kCircle ? static_cast<CShapeBase*>(new CShapeCircle)
                  : k == kArrow  ? static_cast<CShapeBase*>(new CShapeArrow)
                                 : static_cast<CShapeBase*>(new CShapeDrawPen);
    if (k == kPen) s->m_points = Walk(a, 40, 320, 320, b.x * 31 + b.y);
    s->m_ptStart = a;
    s->m_ptEnd = b;
    s->m_nPenWidth = width;
    s->SetColor(color);
    s->m_bEnabled = 1;
    return std::unique_ptr<Shape>(static_cast<Shape*>(s));
}

class ShapesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { gdip::Startup(); }
};

TEST_F(ShapesTest, EveryChangedPixelLiesInsideTheBounds) {
    const Point sizes[] = {{90, 60}, {16, 0}, {3, 2}, {0, 40}};
    for (Kind k : {kRect, kCircle, kArrow, kPen})
        for (int w : kWidths)
            for (COLORREF c : kColors)
                for (const Point& d : sizes)
                    for (int sx : {1, -1})
                        for (int sy : {1, -1}) {
                            Canvas cv;
                            const Pixels before = cv.Get();
                            auto s = Make(k, Point{160, 160}, Point{160 + sx * d.x, 160 + sy * d.y}, w, c);
                            s->Draw(cv.s.dc());
                            int changed = 0;
                            EXPECT_EQ(cv.Outside(before, s->Bounds(), &changed), 0)
                                << "kind " << k << " width " << w << " drag " << sx * d.x << "," << sy * d.y;
                            // A rectangle without area may draw nothing at all.
                            EXPECT_TRUE(changed > 0 || (k == kRect && !(d.x && d.y))) << "kind " << k;
                        }
}

TEST_F(ShapesTest, RectangleAndEllipseLookTheSameWhicheverWayDragged) {
    const Point a{60, 80}, b{250, 190}, c{250, 80}, d{60, 190};
    const std::pair<Point, Point> drags[] = {{b, a}, {c, d}, {d, c}};
    for (Kind k : {kRect, kCircle})
        for (int w : kWidths) {
            Canvas ref;
            Make(k, a, b, w, kColors[0])->Draw(ref.s.dc());
            for (const auto& drag : drags) {
                Canvas cv;
                Make(k, drag.first, drag.second, w, kColors[0])->Draw(cv.s.dc());
                EXPECT_TRUE(cv.Get() == ref.Get()) << "kind " << k << " width " << w << " from " << drag.first.x;
            }
        }
}

// Whether this platform's GDI+ smooths at all: Wine's (8.0) leaves every
// edge hard whatever the smoothing mode, so there the ellipse cannot show it.
bool GdiplusSmooths() {
    Canvas cv(40, 40);
    gdip::Graphics g(cv.s.dc());
    Gdiplus::DllExports::GdipSetSmoothingMode(g.get(), Gdiplus::SmoothingModeAntiAlias);
    gdip::Pen pen(0xFFFFFFFF, 3.0f);
    Gdiplus::DllExports::GdipDrawLineI(g.get(), pen.get(), 2, 3, 37, 21);
    const Pixels px = cv.Get();
    return std::any_of(px.begin(), px.end(), [](uint32_t p) { return Rgb(p) != kBackground && Rgb(p) != 0xFFFFFF; });
}

TEST_F(ShapesTest, OnlyTheEllipseIsSmoothedAndTheThinRectangleIsSolid) {
    const bool smooths = GdiplusSmooths();
    if (!smooths) std::printf("This GDI+ does not smooth: the ellipse's smoothing is not checked here.\n");
    const uint32_t color = PixelOf(kColors[2]);
    for (Kind k : {kRect, kCircle, kPen})
        for (int w : kWidths) {
            Canvas cv;
            Make(k, Point{20, 30}, Point{300, 290}, w, kColors[2])->Draw(cv.s.dc());
            const Pixels px = cv.Get();
            const int blended = static_cast<int>(std::count_if(
                px.begin(), px.end(), [&](uint32_t p) { return Rgb(p) != kBackground && Rgb(p) != color; }));
            if (k == kCircle) {
                EXPECT_TRUE(!smooths || blended > 50) << "width " << w << ": " << blended << " smoothed pixels";
                continue;
            }
            EXPECT_EQ(blended, 0) << "kind " << k << " width " << w;
            if (k != kRect) continue;
            // Every position along each side is drawn close to the line: a
            // dashed pen would leave gaps.
            auto drawn = [&](int x, int y) {
                for (int e = -1; e <= 1; ++e)
                    if (Rgb(px[(y + e) * 320 + x]) == color || Rgb(px[y * 320 + x + e]) == color) return true;
                return false;
            };
            for (int x = 22; x < 298; ++x) EXPECT_TRUE(drawn(x, 30) && drawn(x, 289)) << "gap at x " << x;
            for (int y = 32; y < 288; ++y) EXPECT_TRUE(drawn(20, y) && drawn(299, y)) << "gap at y " << y;
        }
}

// The bounds of a stroke made afresh from the same start and points.
Rect FreshBounds(const CShapeDrawPen& s) {
    CShapeDrawPen fresh;
    fresh.m_ptStart = s.m_ptStart;
    fresh.m_points = s.m_points;
    fresh.m_nPenWidth = s.m_nPenWidth;
    return fresh.Bounds();
}

TEST_F(ShapesTest, StrokeDrawnSegmentBySegmentIsTheWholeStroke) {
    for (int w : kWidths) {
        auto whole = Make<CShapeDrawPen>(kPen, Point{160, 160}, Point{}, w, kColors[1]);
        whole->m_points = Walk(whole->m_ptStart, 400, 320, 320, 7 + w);
        auto grown = Make<CShapeDrawPen>(kPen, Point{160, 160}, Point{}, w, kColors[1]);
        grown->m_points.clear();
        Canvas a, b;
        whole->Draw(a.s.dc());
        for (const Point& p : whole->m_points) {
            const Pixels before = b.Get();
            grown->m_points.push_back(p);
            grown->DrawLastSegment(b.s.dc());
            ASSERT_EQ(b.Outside(before, grown->LastSegmentBounds()), 0) << "point " << grown->m_points.size();
            if (grown->m_points.size() % 50 == 1) {
                ASSERT_EQ(grown->Bounds(), FreshBounds(*grown));
            }
        }
        EXPECT_TRUE(a.Get() == b.Get()) << "width " << w;
        grown->m_points.resize(3);  // the kept bounds follow a shorter stroke too
        EXPECT_EQ(grown->Bounds(), FreshBounds(*grown));
    }
}

// Whether (x, y) lies inside the polygon (even-odd rule).
bool Inside(const Point* p, int n, double x, double y) {
    bool in = false;
    for (int i = 0, j = n - 1; i < n; j = i++)
        if ((p[i].y > y) != (p[j].y > y) && x < p[j].x + (y - p[j].y) * (p[i].x - p[j].x) / double(p[i].y - p[j].y))
            in = !in;
    return in;
}

TEST_F(ShapesTest, ArrowFillsItsOutlineInItsColourWhateverThePenWidth) {
    const std::pair<Point, Point> arrows[] = {
        {{20, 20}, {300, 300}}, {{300, 160}, {30, 150}}, {{160, 300}, {170, 40}}, {{100, 100}, {116, 100}}};
    for (const auto& ar : arrows)
        for (COLORREF c : kColors) {
            Pixels first;
            for (int w : kWidths) {
                Canvas cv;
                Make(kArrow, ar.first, ar.second, w, c)->Draw(cv.s.dc());
                if (first.empty()) first = cv.Get();
                EXPECT_TRUE(cv.Get() == first) << "width " << w << " changed the arrow";
            }
            Point poly[6];
            ASSERT_TRUE(arrowgeo::Polygon(ar.first, ar.second, 16.0, 20, poly));
            int deep = 0;  // pixels well inside, whatever the pixel-centre convention
            for (int y = 0; y < 320; ++y)
                for (int x = 0; x < 320; ++x) {
                    bool all = true;
                    for (double fx : {-1.0, 0.5, 2.0})
                        for (double fy : {-1.0, 0.5, 2.0}) all = all && Inside(poly, 6, x + fx, y + fy);
                    if (!all) continue;
                    ++deep;
                    EXPECT_EQ(Rgb(first[y * 320 + x]), PixelOf(c)) << x << "," << y;
                }
            EXPECT_GT(deep, 10);
        }
}

TEST_F(ShapesTest, NothingIsDrawnWhenDisabledOrWithoutDirectionOrPoints) {
    Canvas cv;
    const Pixels before = cv.Get();
    for (Kind k : {kRect, kCircle, kArrow, kPen}) {
        auto s = Make(k, Point{50, 50}, Point{200, 180}, 5, kColors[0]);
        s->m_bEnabled = 0;
        s->Draw(cv.s.dc());
        if (k == kPen) static_cast<CShapeDrawPen*>(s.get())->DrawLastSegment(cv.s.dc());
        EXPECT_FALSE(s->Bounds().IsEmpty()) << "kind " << k << ": a finished shape still has its area";
    }
    auto arrow = Make(kArrow, Point{90, 90}, Point{90, 90}, 2, kColors[0]);
    auto pen = Make<CShapeDrawPen>(kPen, Point{90, 90}, Point{}, 2, kColors[0]);
    pen->m_points.clear();
    arrow->Draw(cv.s.dc());
    pen->Draw(cv.s.dc());
    pen->DrawLastSegment(cv.s.dc());
    EXPECT_TRUE(cv.Get() == before);
    EXPECT_TRUE(arrow->Bounds().IsEmpty() && pen->Bounds().IsEmpty() && pen->LastSegmentBounds().IsEmpty());
}

TEST_F(ShapesTest, HundredThousandPointStroke) {
    using Clock = std::chrono::steady_clock;
    Canvas whole(800, 600), grown(800, 600);
    auto s = Make<CShapeDrawPen>(kPen, Point{400, 300}, Point{}, 5, kColors[1]);
    const std::vector<Point> pts = Walk(s->m_ptStart, 100000, 800, 600, 11);
    s->m_points.clear();
    Rect bounds;
    const auto t0 = Clock::now();
    for (const Point& p : pts) {  // what each pointer move of the drag costs
        s->m_points.push_back(p);
        s->DrawLastSegment(grown.s.dc());
        bounds = s->Bounds();
    }
    GdiFlush();
    const auto t1 = Clock::now();
    s->Draw(whole.s.dc());
    GdiFlush();
    const auto t2 = Clock::now();
    const auto ms = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
    std::printf("100000 points: appended and drawn a segment at a time in %.0f ms, drawn whole in %.0f ms\n",
                ms(t1 - t0), ms(t2 - t1));
    EXPECT_TRUE(whole.Get() == grown.Get());
    EXPECT_EQ(bounds, FreshBounds(*s));
    EXPECT_EQ(Canvas(800, 600).Outside(whole.Get(), bounds), 0);
}

}  // namespace
