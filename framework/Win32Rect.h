#pragma once
// The program's rectangles where the platform wants its own.
#include <windows.h>

#include "framework/Geometry.h"
#include "platform/GdiHandles.h"

inline RECT ToRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

inline UniqueRegion RectRegion(const Rect& r) { return UniqueRegion(::CreateRectRgn(r.left, r.top, r.right, r.bottom)); }

// Whether drawing inside r could change anything on dc (its clip allows it).
inline bool RectVisibleOn(HDC dc, const Rect& r) {
    const RECT rect = ToRECT(r);
    return ::RectVisible(dc, &rect) != FALSE;
}
