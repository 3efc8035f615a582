#pragma once
// The selection tracker of a capture session: draws the selection's outline
// and resize handles, tells which handle a point is on, sets the pointer shape
// for it and runs the modal loop that moves or resizes the selection while the
// left button is held. While tracking it does not draw; it asks the owner to
// repaint the whole window and the owner's paint handler calls Draw.
//
// The geometry lives in TrackerGeometry.h; this class is the state plus the
// window-system side.
#include <windows.h>

#include "framework/Geometry.h"
#include "tracker/TrackerGeometry.h"
#include "tracker/TrackerOwner.h"

class CMyTracker : public TrackerCodes {
public:
    CMyTracker();

    unsigned m_nStyle = 0;
    Rect m_rect;  // may be inverted; see TrackerGeometry.h
    TrackerSize m_sizeMin;
    int m_nHandleSize = 0;
    ITrackerOwner* m_pOwner = nullptr;
    COLORREF m_crLine = 0;
    BOOL m_bAllowInvert = FALSE;

    // Called for each change during Track with the rectangle to show or to
    // take away; asks `window` to repaint, the rest is for subclasses.
    virtual void DrawTrackerRect(const Rect* rect, HWND clipWindow, HDC dc, ITrackerOwner* window);
    // Keeps a resize at least m_sizeMin big (see trackgeo::AdjustRect).
    virtual void AdjustRect(int hit, Rect* rect);
    // Told after each change during Track, with the rectangle before it.
    virtual void OnChangedRect(const Rect& old);
    virtual unsigned GetHandleMask() const;
    virtual ~CMyTracker();
    // Handle size for r, or for m_rect when r is null.
    virtual int GetHandleSize(const Rect* r = nullptr) const;

    // Colour of the handles, and of every tracker's outline (the pens are shared).
    void SetColor(COLORREF color);
    // Pointer shapes from the executable's own cursor resources.
    void SetCursors(UINT vertical, UINT horizontal, UINT diagDown, UINT diagUp, UINT move);
    void SetOwner(ITrackerOwner* owner) { m_pOwner = owner; }

    int HitTest(Point p) const;
    int HitTestHandles(Point p) const;
    int NormalizeHit(int hit) const;
    Rect GetTrueRect() const;
    // Where Draw may change pixels (see trackgeo::DrawnArea).
    std::vector<Rect> DrawnArea() const;
    // Exactly the pixels Draw sets, all in m_crLine, where they are known
    // (see trackgeo::DrawnPixels).
    std::optional<trackgeo::DrawnPixelSet> DrawnPixels() const;
    Rect GetHandleRect(int hit) const;

    // For WM_SETCURSOR: sets the shape for the zone under the pointer and
    // tells the owner whether the pointer is off the handles.
    BOOL UpdateCursor(HWND window, UINT hitTestCode);
    // Runs the modal move/resize loop from a press at p (client coordinates
    // of window). Returns whether the rectangle changed.
    BOOL Track(ITrackerOwner* window, Point p, BOOL allowInvert = FALSE, HWND clipWindow = nullptr);
    void Draw(HDC dc) const;

protected:
    // The coordinates of m_rect that a drag of `hit` moves (null when an axis
    // does not move) and the point the pointer holds on to.
    void GetMovingEdges(int hit, int** px, int** py, int* gx, int* gy);

private:
    trackgeo::Layout CurrentLayout() const;
};

// Deletes the hatch brush and the pens shared by all trackers; registered by
// the application to run at process exit. Trackers still alive draw nothing
// with the deleted objects afterwards.
void ReleaseTrackerSharedResources();

// What the trackers share, for tests and diagnostics.
struct TrackerSharedInfo {
    HBRUSH hatchBrush;
    HPEN dottedPen;
    HPEN solidPen;
    HCURSOR cursors[10];
    int handleSize;
    int setUps;  // how many times the shared set was made (once per process)
};
TrackerSharedInfo GetTrackerSharedInfo();
