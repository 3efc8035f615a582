#pragma once
// Annotation shapes. Each shape keeps its two points, its colour (twice: as a
// GDI colour and as the bytes of an opaque GDI+ colour) and its pen width,
// and draws itself onto any drawing context. The session owns the list and
// decides when shapes start, change, finish and go.
#include <windows.h>

#include <string>
#include <vector>

#include "framework/Geometry.h"
#include "shapes/ShapeGeometry.h"

class CShapeBase {
public:
    CShapeBase() = default;
    virtual ~CShapeBase() = default;
    CShapeBase(const CShapeBase&) = delete;
    CShapeBase& operator=(const CShapeBase&) = delete;

    // Renders the shape; nothing while m_bEnabled is 0.
    virtual void Draw(HDC /*dc*/) {}
    // Redraws the outline last drawn in the NOT-XOR mix, which takes away an
    // outline drawn the same way; only when outlined and enabled.
    virtual void EraseOutline(HDC /*dc*/) {}
    // Whether p lies in the rectangle spanned by the two points.
    virtual BOOL HitTest(Point p) const;
    // Every pixel Draw may touch lies inside this rectangle (right and bottom
    // exclusive); empty when the shape has nothing to draw (an arrow without
    // direction, a stroke without points). Used to limit previews to the
    // area that changed. It describes the shape as it draws when enabled,
    // whatever m_bEnabled holds now, so that the area of a finished
    // (disabled) shape is still known when it goes.
    virtual Rect Bounds() const { return Rect{}; }

    // Takes the colour 0x00BBGGRR in both forms.
    void SetColor(COLORREF color);
    // The GDI+ colour 0xAARRGGBB composed from m_argb.
    uint32_t Argb() const;

    Point m_ptStart;
    Point m_ptEnd;
    Point m_ptLastEnd;
    COLORREF m_crColor = 0x000000FF;
    int m_nPenWidth = 2;
    BOOL m_bEnabled = 0;
    BOOL m_bOutlined = 0;
    double m_dHeadAngle = 16.0;
    int m_nHeadLength = 20;
    float m_fTextWidth = 0.0f;
    float m_fTextHeight = 0.0f;
    unsigned char m_argb[4] = {0, 0, 0, 0};  // alpha, red, green, blue
    std::string m_strText;
    std::vector<Point> m_points;
};

// Hollow rectangle, GDI dashed pen (solid at every width the bar offers).
class CShapeRect : public CShapeBase {
public:
    void Draw(HDC dc) override;
    void EraseOutline(HDC dc) override;
    Rect Bounds() const override;
};

// Ellipse outline, GDI+ with high-quality smoothing.
class CShapeCircle : public CShapeBase {
public:
    void Draw(HDC dc) override;
    void EraseOutline(HDC dc) override;
    Rect Bounds() const override;
};

// Filled six-point arrow from m_ptStart (tail) to m_ptEnd (tip), GDI+.
class CShapeArrow : public CShapeBase {
public:
    void Draw(HDC dc) override;
    void EraseOutline(HDC dc) override;
    Rect Bounds() const override;
};

// Free-hand stroke through m_ptStart and m_points, GDI polyline.
class CShapeDrawPen : public CShapeBase {
public:
    void Draw(HDC dc) override;
    // Draws only the segment that ends at the newest point, which gives the
    // same pixels as Draw once all segments are drawn; the cost of a pointer
    // move then does not grow with the stroke.
    void DrawLastSegment(HDC dc);
    // Bounds of what DrawLastSegment draws; empty with no points.
    Rect LastSegmentBounds() const;
    // Grown by the points appended since the last call, so a call per
    // pointer move costs the same however long the stroke is. A stroke that
    // got shorter or whose start moved is scanned afresh; a point changed in
    // place is not noticed (a stroke only ever grows at its end).
    Rect Bounds() const override;

private:
    mutable shapegeo::PointBox m_box;  // m_ptStart and the first m_boxCount points
    mutable size_t m_boxCount = 0;
    mutable Point m_boxStart;
};

// Typed text, drawn with GDI+ in "Arial" 14 pt in its colour, wrapped and
// clipped in the layout box (m_ptStart, m_fTextWidth x m_fTextHeight).
// m_strText holds ANSI bytes, line breaks as CR LF.
class CShapeDrawText : public CShapeBase {
public:
    void Draw(HDC dc) override;
    // The layout box, grown to whole pixels and by what glyphs may draw past
    // it; empty without text.
    Rect Bounds() const override;
};
