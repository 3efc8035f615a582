// The shapes drawn onto 32-bit DIB sections and read back: what each kind
// changes stays inside its bounds (the live preview repaints only there), a
// stroke drawn a segment at a time is the stroke drawn whole, and shapes with
// nothing to draw draw nothing.
#include "shapes/Shapes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>

#include "platform/GdiHandles.h"
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
    // How many changed pixels lie outside the region.
    int OutsideRegion(const Pixels& before, HRGN region) const {
        const Pixels now = Get();
        int outside = 0;
        for (int i = 0; i < static_cast<int>(now.size()); ++i)
            outside += now[i] != before[i] && !PtInRegion(region, i % s.width(), i / s.width());
        return outside;
    }
};


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

TEST_F(ShapesTest, EveryChangedPixelLiesInsideTheBoundsAndTheCoverage) {
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
                            UniqueRegion cover(CreateRectRgn(0, 0, 0, 0));
                            s->AddCoverage(cover.get());
                            EXPECT_EQ(cv.OutsideRegion(before, cover.get()), 0)
                                << "kind " << k << " width " << w << " drag " << sx * d.x << "," << sy * d.y;
                            // A rectangle without area may draw nothing at all.
                            EXPECT_TRUE(changed > 0 || (k == kRect && !(d.x && d.y))) << "kind " << k;
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

namespace {

// The imaging library's own fill of a polygon, as the arrow's look is defined.
void LibraryFill(HDC dc, const POINT* p, int n, Gdiplus::ARGB colour) {
    gdip::Graphics g(dc);
    Gdiplus::DllExports::GdipSetSmoothingMode(g.get(), Gdiplus::SmoothingModeHighQuality);
    gdip::SolidBrush brush(colour);
    std::vector<Gdiplus::Point> gp;
    for (int i = 0; i < n; ++i) gp.emplace_back(p[i].x, p[i].y);
    Gdiplus::DllExports::GdipFillPolygonI(g.get(), brush.get(), gp.data(), n, Gdiplus::FillModeAlternate);
}

}  // namespace

TEST_F(ShapesTest, PolygonFillGivesTheLibrarysPixels) {
    // Opaque and translucent colours, crossing and off-surface polygons,
    // arrows at every angle, with and without a clip as the preview uses.
    std::mt19937 rng(11);
    int drawn = 0;
    for (int k = 0; k < 120; ++k) {
        SCOPED_TRACE(k);
        const Gdiplus::ARGB colour = (k % 4 == 3 ? 0x80000000u : 0xFF000000u) | (rng() & 0xFFFFFF);
        POINT p[6];
        if (k % 2) {
            for (POINT& q : p) q = POINT{static_cast<LONG>(rng() % 360) - 20, static_cast<LONG>(rng() % 360) - 20};
        } else {
            Point a[6];
            const Point from{static_cast<int>(rng() % 320), static_cast<int>(rng() % 320)};
            const Point to{static_cast<int>(rng() % 320), static_cast<int>(rng() % 320)};
            if (!arrowgeo::Polygon(from, to, 16.0, 20, a)) continue;
            for (int i = 0; i < 6; ++i) p[i] = POINT{a[i].x, a[i].y};
        }
        Canvas library, ours;
        if (k % 3 == 0)
            for (Canvas* c : {&library, &ours}) IntersectClipRect(c->s.dc(), 40, 60, 250, 200);
        LibraryFill(library.s.dc(), p, 6, colour);
        gdip::FillPolygon(ours.s.dc(), p, 6, colour);
        // The colour, that is: the fourth byte of a pixel of these surfaces is
        // not part of the picture.
        Pixels a = library.Get(), b = ours.Get();
        for (Pixels* px : {&a, &b})
            for (uint32_t& v : *px) v &= 0xFFFFFF;
        drawn += std::count(a.begin(), a.end(), kBackground) != static_cast<long>(a.size());
        EXPECT_TRUE(a == b);
    }
    EXPECT_GT(drawn, 90) << "too few cases drew anything";
}
