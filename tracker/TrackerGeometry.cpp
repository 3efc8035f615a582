#include "tracker/TrackerGeometry.h"

#include <cstdlib>

namespace trackgeo {
namespace {

using C = TrackerCodes;

// Per handle code 0..7: where its square is anchored, how it is centred along
// a side and shifted back by its own size, and its inverted counterparts.
struct HandleInfo {
    Edge anchorX;
    Edge anchorY;
    int centreX, centreY;
    int sizeX, sizeY;
    int invertedX, invertedY;
};

constexpr HandleInfo kHandles[8] = {
    {Edge::Left, Edge::Top, 0, 0, 0, 0, 1, 3},       // top left
    {Edge::Right, Edge::Top, 0, 0, -1, 0, 0, 2},     // top right
    {Edge::Right, Edge::Bottom, 0, 0, -1, -1, 3, 1}, // bottom right
    {Edge::Left, Edge::Bottom, 0, 0, 0, -1, 2, 0},   // bottom left
    {Edge::Left, Edge::Top, 1, 0, 0, 0, 4, 6},       // top
    {Edge::Right, Edge::Top, 0, 1, -1, 0, 7, 5},     // right
    {Edge::Left, Edge::Bottom, 1, 0, 0, -1, 6, 4},   // bottom
    {Edge::Left, Edge::Top, 0, 1, 0, 0, 5, 7},       // left
};

bool IsHandle(int code) { return code >= 0 && code < 8; }

int Coordinate(const Rect& r, Edge e) {
    switch (e) {
    case Edge::Left: return r.left;
    case Edge::Top: return r.top;
    case Edge::Right: return r.right;
    case Edge::Bottom: return r.bottom;
    case Edge::None: break;
    }
    return 0;
}

bool HasLine(unsigned style) { return (style & (C::StyleSolidLine | C::StyleDottedLine)) != 0; }

}  // namespace

int InvertHitX(int code) { return IsHandle(code) ? kHandles[code].invertedX : code; }
int InvertHitY(int code) { return IsHandle(code) ? kHandles[code].invertedY : code; }

int HandleSize(unsigned style, int sharedSize, const Rect& r) {
    if (style & C::StyleHandlesOutside) return sharedSize;
    int w = std::abs(r.right - r.left);
    int h = std::abs(r.bottom - r.top);
    int m = w < h ? w : h;
    return 2 * sharedSize > m ? m / 2 : sharedSize;
}

Rect TrueRect(unsigned style, const Rect& rect, int handleSize) {
    int g = 0;
    if (style & (C::StyleHatchedBorder | C::StyleHandlesOutside)) g = handleSize - 1;
    if (HasLine(style)) g += 1;
    return rect.Normalized().Inflated(g);
}

unsigned HandleMask(const Rect& rect, int sharedSize) {
    unsigned mask = 0x0F;
    if (std::abs(rect.right - rect.left) - 3 * sharedSize > 4) mask |= 0x50;
    if (std::abs(rect.bottom - rect.top) - 3 * sharedSize > 4) mask |= 0xA0;
    return mask;
}

int NormalizeHit(const Rect& rect, int code) {
    if (!IsHandle(code)) return code;
    if (rect.right - rect.left < 0) code = InvertHitX(code);
    if (rect.bottom - rect.top < 0) code = InvertHitY(code);
    return code;
}

Rect HandleRect(unsigned style, const Rect& rect, int handleSize, int code) {
    Rect t = rect.Normalized();
    if (HasLine(style)) t = t.Inflated(1);
    int c = NormalizeHit(rect, code);
    if (!IsHandle(c)) return Rect{};
    const int s = handleSize;
    if (style & C::StyleHandlesOutside)
        t = t.Inflated((style & C::CentredTestMask) != 0 ? s - s / 2 - 1 : s - 1);
    const HandleInfo& h = kHandles[c];
    int x = Coordinate(t, h.anchorX) + s * h.sizeX + h.centreX * (t.Width() - s) / 2;
    int y = Coordinate(t, h.anchorY) + s * h.sizeY + h.centreY * (t.Height() - s) / 2;
    return Rect{x, y, x + s, y + s};
}

Layout DefaultLayout(unsigned style, const Rect& rect, int sharedSize) {
    Layout l;
    const int s = HandleSize(style, sharedSize, rect);
    l.trueRect = TrueRect(style, rect, s);
    l.mask = HandleMask(rect, sharedSize);
    for (int i = 0; i < 8; ++i) l.handles[i] = HandleRect(style, rect, s, i);
    return l;
}

std::vector<Rect> DrawnArea(unsigned style, const Rect& rect, const Layout& layout) {
    if (style & (C::StyleHatchInside | C::StyleHatchedBorder)) return {layout.trueRect};
    // The line runs one pixel outside the rectangle.
    std::vector<Rect> area = HasLine(style) ? EdgeBand(rect.Normalized().Inflated(2), 3) : std::vector<Rect>{};
    if (style & (C::StyleHandlesInside | C::StyleHandlesOutside)) {
        for (int i = 0; i < 8; ++i)
            if ((layout.mask & (1u << i)) && !layout.handles[i].IsEmpty()) area.push_back(layout.handles[i]);
    }
    return area;
}

std::optional<DrawnPixelSet> DrawnPixels(unsigned style, const Rect& rect, const Layout& layout) {
    if (style & (C::StyleDottedLine | C::StyleHatchInside | C::StyleHatchedBorder)) return std::nullopt;
    DrawnPixelSet set;
    // The outline is the rectangle's one pixel outside, drawn with a pen one
    // pixel wide: its first and last rows and columns.
    if (style & C::StyleSolidLine) set.lines = EdgeBand(rect.Normalized().Inflated(1), 1);
    if (style & (C::StyleHandlesInside | C::StyleHandlesOutside)) {
        for (int i = 0; i < 8; ++i)
            if ((layout.mask & (1u << i)) && !layout.handles[i].IsEmpty()) set.handles.push_back(layout.handles[i]);
    }
    return set;
}

int HitTestHandles(unsigned style, const Rect& rect, const Layout& layout, Point p) {
    if (!layout.trueRect.Contains(p)) return C::HitNothing;
    // Corners come first in the code order, so they win where squares overlap.
    for (int i = 0; i < 8; ++i) {
        if ((layout.mask & (1u << i)) && layout.handles[i].Contains(p)) return i;
    }
    if (style & C::StyleHatchedBorder) return C::HitMiddle;
    // Without a hatched band only the rectangle and its outline grab a move;
    // the gap between handles out to the true rectangle is nothing.
    return rect.Normalized().Inflated(1).Contains(p) ? C::HitMiddle : C::HitNothing;
}

int HitTest(unsigned style, const Rect& rect, const Layout& layout, Point p) {
    if (!layout.trueRect.Contains(p)) return C::HitNothing;
    if (style & (C::StyleHandlesInside | C::StyleHandlesOutside))
        return HitTestHandles(style, rect, layout, p);
    return C::HitMiddle;
}

MovingEdges GetMovingEdges(const Rect& rect, int code) {
    MovingEdges e;
    if (code == C::HitMiddle) code = C::HitTopLeft;
    if (IsHandle(code) && InvertHitX(code) != code) {
        e.x = kHandles[code].anchorX;
        e.grabX = Coordinate(rect, e.x);
    } else {
        e.grabX = rect.left + std::abs(rect.right - rect.left) / 2;
    }
    if (IsHandle(code) && InvertHitY(code) != code) {
        e.y = kHandles[code].anchorY;
        e.grabY = Coordinate(rect, e.y);
    } else {
        e.grabY = rect.top + std::abs(rect.bottom - rect.top) / 2;
    }
    return e;
}

int* EdgeOf(Rect& r, Edge e) {
    switch (e) {
    case Edge::Left: return &r.left;
    case Edge::Top: return &r.top;
    case Edge::Right: return &r.right;
    case Edge::Bottom: return &r.bottom;
    case Edge::None: break;
    }
    return nullptr;
}

namespace {
// One axis of AdjustRect: `low`/`high` are the axis' two coordinates and
// `movingLow` tells which of them follows the pointer.
void KeepMinimum(int& low, int& high, bool movingLow, int minimum, bool allowInvert) {
    int size = high - low;
    int a = allowInvert ? std::abs(size) : size;
    if (a >= minimum) return;
    // d keeps the side the pointer is on: +1 normally, -1 once it has crossed.
    int d = a != 0 ? size / a : 1;
    if (movingLow)
        low = high - d * minimum;
    else
        high = low + d * minimum;
}
}  // namespace

void AdjustRect(int code, Rect* rect, TrackerSize sizeMin, bool allowInvert) {
    if (code == C::HitMiddle || !rect) return;
    MovingEdges e = GetMovingEdges(*rect, code);
    if (e.x != Edge::None)
        KeepMinimum(rect->left, rect->right, e.x == Edge::Left, sizeMin.cx, allowInvert);
    if (e.y != Edge::None)
        KeepMinimum(rect->top, rect->bottom, e.y == Edge::Top, sizeMin.cy, allowInvert);
}

Drag BeginDrag(const Rect& rect, int code, Point press) {
    Drag d;
    d.code = code;
    d.edges = GetMovingEdges(rect, code);
    d.dx = press.x - d.edges.grabX;
    d.dy = press.y - d.edges.grabY;
    d.width0 = rect.right - rect.left;
    d.height0 = rect.bottom - rect.top;
    return d;
}

Rect MovePointer(const Drag& drag, Rect rect, Point p) {
    if (int* x = EdgeOf(rect, drag.edges.x)) *x = p.x - drag.dx;
    if (int* y = EdgeOf(rect, drag.edges.y)) *y = p.y - drag.dy;
    if (drag.code == C::HitMiddle) {
        rect.right = rect.left + drag.width0;
        rect.bottom = rect.top + drag.height0;
    }
    return rect;
}

Rect TrackStep(const Drag& drag, Rect rect, Point p, TrackerSize sizeMin, bool allowInvert) {
    rect = MovePointer(drag, rect, p);
    AdjustRect(drag.code, &rect, sizeMin, allowInvert);
    return rect;
}

}  // namespace trackgeo
