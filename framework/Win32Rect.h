#pragma once
// The program's rectangles where the platform wants its own.
#include <windows.h>

#include <vector>

#include "framework/Geometry.h"
#include "platform/GdiHandles.h"

inline RECT ToRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

inline UniqueRegion RectRegion(const Rect& r) { return UniqueRegion(::CreateRectRgn(r.left, r.top, r.right, r.bottom)); }

// Whether drawing inside r could change anything on dc (its clip allows it).
inline bool RectVisibleOn(HDC dc, const Rect& r) {
    const RECT rect = ToRECT(r);
    return ::RectVisible(dc, &rect) != FALSE;
}

// The rectangles a region is made of.
inline std::vector<Rect> RegionRects(HRGN region) {
    const DWORD size = ::GetRegionData(region, 0, nullptr);
    if (size == 0) return {};
    std::vector<char> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (::GetRegionData(region, size, data) == 0) return {};
    const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
    std::vector<Rect> out;
    for (DWORD i = 0; i < data->rdh.nCount; ++i)
        out.push_back(Rect{rects[i].left, rects[i].top, rects[i].right, rects[i].bottom});
    return out;
}
