#pragma once
// Geometry of the selection tracker, free of any window system so that it can
// be tested natively: where the outline and the eight handles go, which zone a
// point is on, and how one pointer position during a drag changes the
// rectangle. CMyTracker (MyTracker.h) holds the state and does the drawing.
//
// The tracked rectangle may be inverted (left > right or top > bottom) when
// the user has dragged an edge across the opposite one. Everything that needs
// an ordered rectangle works on a normalised copy; hit codes and moving edges
// always name the coordinates of the rectangle as it is stored.
#include <optional>
#include <vector>

#include "framework/Geometry.h"

// The tracker's hit codes and style bits. A base of CMyTracker as well, so the
// session can write CMyTracker::HitMiddle.
struct TrackerCodes {
    enum Hit : int {
        HitNothing = -1,
        HitTopLeft = 0,
        HitTopRight = 1,
        HitBottomRight = 2,
        HitBottomLeft = 3,
        HitTop = 4,
        HitRight = 5,
        HitBottom = 6,
        HitLeft = 7,
        HitMiddle = 8,
    };
    enum Style : unsigned {
        StyleSolidLine = 0x01,       // outline one pixel outside, solid pen
        StyleDottedLine = 0x02,      // dotted pen; wins over the solid one
        StyleHatchedBorder = 0x04,   // hatched band out to the true rectangle
        StyleHandlesInside = 0x08,   // handles inside, shrunk for small rectangles
        StyleHandlesOutside = 0x10,  // handles outside, always full size
        StyleHatchInside = 0x20,     // hatched interior
        StyleHandlesCentred = 0x40,  // with HandlesOutside: squares straddle the outline
    };
    // The centring test is made against this decimal mask (0xF4240), which
    // contains StyleHandlesCentred; the other bits it holds are not styles
    // any caller sets, so in practice it tests 0x40.
    static constexpr unsigned CentredTestMask = 1000000;
};

// Smallest size a resize may leave, per axis.
struct TrackerSize {
    int cx = 0;
    int cy = 0;
};

namespace trackgeo {

// The code of the same handle seen with the x (or y) axis inverted; a code
// that maps to itself does not move that axis. Middle and nothing map to
// themselves.
int InvertHitX(int code);
int InvertHitY(int code);

// Handle size for a rectangle: full with outside handles, otherwise halved
// down to fit rectangles smaller than two handles.
int HandleSize(unsigned style, int sharedSize, const Rect& r);

// The rectangle plus everything drawn around it. handleSize is what
// HandleSize gives for the tracked rectangle.
Rect TrueRect(unsigned style, const Rect& rect, int handleSize);

// Which handles are shown: corners always, the edge centres only when the
// side is long enough to keep them apart from the corners. Bit i is handle i.
unsigned HandleMask(const Rect& rect, int sharedSize);

// The handle code as it appears on screen for a possibly inverted rectangle.
int NormalizeHit(const Rect& rect, int code);

// The square of handle `code` (as stored); placed where NormalizeHit puts it.
Rect HandleRect(unsigned style, const Rect& rect, int handleSize, int code);

// Everything a hit test or a drawing needs, computed once.
struct Layout {
    Rect trueRect;
    unsigned mask = 0;
    Rect handles[8];
};
// The layout by the default rules (CMyTracker builds its own through its
// virtual hooks, with the same result unless a subclass changes them).
Layout DefaultLayout(unsigned style, const Rect& rect, int sharedSize);

// Every pixel a drawing of the tracker may change lies in one of these: the
// outline's line with a pixel to spare on each side and the handles' squares;
// with hatching, the whole true rectangle.
std::vector<Rect> DrawnArea(unsigned style, const Rect& rect, const Layout& layout);

// Exactly the pixels a drawing sets, all in the line's colour, where they are
// known: a solid outline and the handles, without dots or hatching. Two
// drawings of the same colour then differ only where one of them sets a pixel
// and the other does not.
struct DrawnPixelSet {
    std::vector<Rect> lines;    // the outline's rows and columns, one pixel wide
    std::vector<Rect> handles;  // the squares
};
std::optional<DrawnPixelSet> DrawnPixels(unsigned style, const Rect& rect, const Layout& layout);

int HitTestHandles(unsigned style, const Rect& rect, const Layout& layout, Point p);
int HitTest(unsigned style, const Rect& rect, const Layout& layout, Point p);

// Which coordinate of the rectangle a drag of `code` moves, per axis, and the
// point of the rectangle the pointer holds on to.
enum class Edge { None, Left, Top, Right, Bottom };
struct MovingEdges {
    Edge x = Edge::None;
    Edge y = Edge::None;
    int grabX = 0;
    int grabY = 0;
};
MovingEdges GetMovingEdges(const Rect& rect, int code);
// The coordinate of r that an edge names, or null for Edge::None.
int* EdgeOf(Rect& r, Edge e);

// Keeps a resized rectangle at least sizeMin big. Without inversion the
// moving edge stops at the minimum; with it, it stays the minimum away from
// the opposite edge on its own side and jumps across once the pointer has
// crossed that edge.
void AdjustRect(int code, Rect* rect, TrackerSize sizeMin, bool allowInvert);

// A drag in progress: fixed at the press.
struct Drag {
    int code = TrackerCodes::HitNothing;
    MovingEdges edges;
    int dx = 0;  // pointer minus grab point at the press
    int dy = 0;
    int width0 = 0;  // signed size at the press, kept by a move
    int height0 = 0;
};
Drag BeginDrag(const Rect& rect, int code, Point press);
// Moves the drag's edges to follow pointer p; a move keeps the size.
Rect MovePointer(const Drag& drag, Rect rect, Point p);
// One tracking step: MovePointer followed by AdjustRect.
Rect TrackStep(const Drag& drag, Rect rect, Point p, TrackerSize sizeMin, bool allowInvert);

}  // namespace trackgeo
