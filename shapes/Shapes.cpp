#include "shapes/Shapes.h"

#include <cmath>

#include "framework/Win32Rect.h"
#include "platform/AnsiText.h"
#include "platform/GdiHandles.h"
#include "platform/Gdiplus.h"
#include "shapes/ArrowGeometry.h"

using namespace Gdiplus::DllExports;

namespace {

// A drawing context's mix mode for a scope.
class Rop2Scope {
public:
    Rop2Scope(HDC dc, int mode) : m_dc(dc), m_old(::SetROP2(dc, mode)) {}
    ~Rop2Scope() { if (m_old) ::SetROP2(m_dc, m_old); }
    Rop2Scope(const Rop2Scope&) = delete;
    Rop2Scope& operator=(const Rop2Scope&) = delete;

private:
    HDC m_dc;
    int m_old;
};

void SegmentTo(HDC dc, COLORREF color, int width, Point from, Point to) {
    ::SetBkMode(dc, TRANSPARENT);
    UniquePen pen(::CreatePen(PS_SOLID, width, color));
    SelectScope usePen(dc, pen.get());
    ::MoveToEx(dc, from.x, from.y, nullptr);
    ::LineTo(dc, to.x, to.y);
}

}  // namespace

BOOL CShapeBase::HitTest(Point p) const {
    return Rect{m_ptStart.x, m_ptStart.y, m_ptEnd.x, m_ptEnd.y}.Normalized().Contains(p) ? TRUE : FALSE;
}

void CShapeBase::SetColor(COLORREF color) {
    m_crColor = color;
    m_argb[0] = 0xFF;
    m_argb[1] = GetRValue(color);
    m_argb[2] = GetGValue(color);
    m_argb[3] = GetBValue(color);
}

uint32_t CShapeBase::Argb() const {
    return static_cast<uint32_t>(m_argb[0]) << 24 | static_cast<uint32_t>(m_argb[1]) << 16 |
           static_cast<uint32_t>(m_argb[2]) << 8 | static_cast<uint32_t>(m_argb[3]);
}

// ---------------------------------------------------------------- rectangle

namespace {
void AddRect(HRGN region, const Rect& r) {
    if (r.IsEmpty()) return;
    ::CombineRgn(region, region, RectRegion(r).get(), RGN_OR);
}
}  // namespace

void CShapeBase::AddCoverage(HRGN region) const { AddRect(region, Bounds()); }

void CShapeRect::AddCoverage(HRGN region) const {
    // A hollow frame: the bounds less what lies well inside the outline.
    const Rect outer = Bounds();
    const Rect inner = Rect{m_ptStart.x, m_ptStart.y, m_ptEnd.x, m_ptEnd.y}.Normalized().Inflated(-(m_nPenWidth + 2));
    if (inner.IsEmpty()) {
        AddRect(region, outer);
        return;
    }
    AddRect(region, Rect{outer.left, outer.top, outer.right, inner.top});
    AddRect(region, Rect{outer.left, inner.bottom, outer.right, outer.bottom});
    AddRect(region, Rect{outer.left, inner.top, inner.left, inner.bottom});
    AddRect(region, Rect{inner.right, inner.top, outer.right, inner.bottom});
}

void CShapeRect::Draw(HDC dc) {
    if (!m_bEnabled) return;
    {
        // Wider than one pixel, a dashed pen draws solid.
        UniquePen pen(::CreatePen(PS_DASH, m_nPenWidth, m_crColor));
        SelectScope usePen(dc, pen.get());
        SelectScope useBrush(dc, ::GetStockObject(NULL_BRUSH));
        ::Rectangle(dc, m_ptStart.x, m_ptStart.y, m_ptEnd.x, m_ptEnd.y);
    }
    m_ptLastEnd = m_ptEnd;
    m_bOutlined = 1;
}

void CShapeRect::EraseOutline(HDC dc) {
    if (!m_bOutlined || !m_bEnabled) return;
    Rop2Scope mix(dc, R2_NOTXORPEN);
    UniquePen pen(::CreatePen(PS_DASH, m_nPenWidth, m_crColor));
    SelectScope usePen(dc, pen.get());
    SelectScope useBrush(dc, ::GetStockObject(NULL_BRUSH));
    ::Rectangle(dc, m_ptStart.x, m_ptStart.y, m_ptLastEnd.x, m_ptLastEnd.y);
}

Rect CShapeRect::Bounds() const { return shapegeo::OutlineBounds(m_ptStart, m_ptEnd, m_nPenWidth); }

// ---------------------------------------------------------------- ellipse

void CShapeCircle::Draw(HDC dc) {
    if (!m_bEnabled) return;
    gdip::Graphics g(dc);
    if (!g) return;
    GdipSetSmoothingMode(g.get(), Gdiplus::SmoothingModeHighQuality);
    gdip::Pen pen(Argb(), static_cast<float>(m_nPenWidth));
    if (!pen) return;
    // The ellipse inscribed in the rectangle the two points span, whichever
    // way the drag went. The rectangle is ordered first: handed a negative
    // width, GDI+ (Wine's at least) rasterises the mirrored ellipse a pixel
    // off at its sides, so a drag to the left would not match one to the right.
    const Rect r = Rect{m_ptStart.x, m_ptStart.y, m_ptEnd.x, m_ptEnd.y}.Normalized();
    GdipDrawEllipseI(g.get(), pen.get(), r.left, r.top, r.Width(), r.Height());
}

void CShapeCircle::EraseOutline(HDC dc) {
    if (!m_bOutlined || !m_bEnabled) return;
    {
        Rop2Scope mix(dc, R2_NOTXORPEN);
        UniquePen pen(::CreatePen(PS_DASH, m_nPenWidth, m_crColor));
        SelectScope usePen(dc, pen.get());
        SelectScope useBrush(dc, ::GetStockObject(NULL_BRUSH));
        ::Ellipse(dc, m_ptStart.x, m_ptStart.y, m_ptLastEnd.x, m_ptLastEnd.y);
    }
    m_ptLastEnd = m_ptEnd;
    m_bOutlined = 1;
}

Rect CShapeCircle::Bounds() const {
    // A very flat ellipse turns sharply at its ends, where the pen's mitred
    // joins reach up to ten half widths out.
    const int miterReach = 5 * m_nPenWidth;
    return shapegeo::OutlineBounds(m_ptStart, m_ptEnd, m_nPenWidth).Inflated(miterReach);
}

// ---------------------------------------------------------------- arrow

void CShapeArrow::AddCoverage(HRGN region) const {
    Point p[6];
    if (!arrowgeo::Polygon(m_ptStart, m_ptEnd, m_dHeadAngle, m_nHeadLength, p)) return;
    // A few convex pieces, grown by three pixels every way: the fill's edge
    // pixels and the points thinner than a pixel at the tail and the barbs
    // fall inside, and a preview clipped to them copies few spans a row.
    arrowgeo::ConvexOutline pieces[4];
    if (!arrowgeo::GrownFan(p, 3, pieces)) {
        CShapeBase::AddCoverage(region);
        return;
    }
    for (const arrowgeo::ConvexOutline& piece : pieces) {
        POINT outline[12];
        for (int i = 0; i < piece.count; ++i) outline[i] = POINT{piece.p[i].x, piece.p[i].y};
        UniqueRegion shape(piece.count >= 3 ? ::CreatePolygonRgn(outline, piece.count, WINDING) : nullptr);
        if (!shape) {
            CShapeBase::AddCoverage(region);
            return;
        }
        ::CombineRgn(region, region, shape.get(), RGN_OR);
    }
}

void CShapeArrow::Draw(HDC dc) {
    if (!m_bEnabled) return;
    Point p[6];
    // Coinciding points give no direction and so no arrow.
    if (!arrowgeo::Polygon(m_ptStart, m_ptEnd, m_dHeadAngle, m_nHeadLength, p)) return;
    POINT gp[6];
    for (int i = 0; i < 6; ++i) gp[i] = POINT{p[i].x, p[i].y};
    gdip::FillPolygon(dc, gp, 6, Argb());
}

void CShapeArrow::EraseOutline(HDC dc) {
    if (!m_bOutlined || !m_bEnabled) return;
    Point p[6];
    if (!arrowgeo::Polygon(m_ptStart, m_ptLastEnd, m_dHeadAngle, m_nHeadLength, p)) return;
    POINT gp[6];
    for (int i = 0; i < 6; ++i) gp[i] = POINT{p[i].x, p[i].y};
    UniqueRegion region(::CreatePolygonRgn(gp, 6, ALTERNATE));
    if (!region) return;
    Rop2Scope mix(dc, R2_NOTXORPEN);
    UniqueBrush brush(::CreateSolidBrush(m_crColor));
    UniquePen pen(::CreatePen(PS_DASH, m_nPenWidth, m_crColor));
    SelectScope usePen(dc, pen.get());
    SelectScope useBrush(dc, brush.get());
    ::PaintRgn(dc, region.get());
}

Rect CShapeArrow::Bounds() const {
    Point p[6];
    if (!arrowgeo::Polygon(m_ptStart, m_ptEnd, m_dHeadAngle, m_nHeadLength, p)) return Rect{};
    return shapegeo::PolygonBounds(p, 6);
}

// ---------------------------------------------------------------- pen stroke

void CShapeDrawPen::Draw(HDC dc) {
    if (!m_bEnabled || m_points.empty()) return;
    ::SetBkMode(dc, TRANSPARENT);
    UniquePen pen(::CreatePen(PS_SOLID, m_nPenWidth, m_crColor));
    SelectScope usePen(dc, pen.get());
    // One line per segment, as DrawLastSegment draws them: a polyline would
    // join the segments differently from lines drawn one at a time.
    ::MoveToEx(dc, m_ptStart.x, m_ptStart.y, nullptr);
    for (const Point& p : m_points) ::LineTo(dc, p.x, p.y);
}

void CShapeDrawPen::DrawLastSegment(HDC dc) {
    if (!m_bEnabled || m_points.empty()) return;
    const size_t n = m_points.size();
    SegmentTo(dc, m_crColor, m_nPenWidth, n > 1 ? m_points[n - 2] : m_ptStart, m_points[n - 1]);
}

Rect CShapeDrawPen::LastSegmentBounds() const {
    if (m_points.empty()) return Rect{};
    const size_t n = m_points.size();
    shapegeo::PointBox box;
    box.Add(n > 1 ? m_points[n - 2] : m_ptStart);
    box.Add(m_points[n - 1]);
    return shapegeo::StrokeBounds(box, m_nPenWidth);
}

Rect CShapeDrawPen::Bounds() const {
    if (m_points.empty()) return Rect{};
    // Start again whenever the stroke is not the one the box was made for
    // plus appended points.
    if (m_boxCount > m_points.size() || m_boxStart != m_ptStart || m_box.empty) {
        m_box = shapegeo::PointBox{};
        m_box.Add(m_ptStart);
        m_boxStart = m_ptStart;
        m_boxCount = 0;
    }
    for (; m_boxCount < m_points.size(); ++m_boxCount) m_box.Add(m_points[m_boxCount]);
    return shapegeo::StrokeBounds(m_box, m_nPenWidth);
}

void CShapeDrawText::Draw(HDC dc) {
    if (!m_bEnabled || m_strText.empty()) return;
    const std::wstring wide = WidenAnsi(m_strText);
    if (wide.empty()) return;
    const Gdiplus::RectF box(static_cast<float>(m_ptStart.x), static_cast<float>(m_ptStart.y), m_fTextWidth,
                             m_fTextHeight);
    gdip::DrawTextInBox(dc, wide, L"Arial", 14.0f, Argb(), box);
}

Rect CShapeDrawText::Bounds() const {
    if (m_strText.empty() || m_fTextWidth <= 0 || m_fTextHeight <= 0) return Rect{};
    // The text is clipped to its layout box, but glyphs may reach a little
    // past it: a line whose top fits is drawn whole on some platforms.
    constexpr int kOverhang = 2, kLastLine = 26;
    return Rect{m_ptStart.x - kOverhang, m_ptStart.y - kOverhang,
                m_ptStart.x + static_cast<int>(std::ceil(m_fTextWidth)) + kLastLine,
                m_ptStart.y + static_cast<int>(std::ceil(m_fTextHeight)) + kLastLine};
}
