#pragma once
// The dimming of the picture outside the selection: the backdrop image
// stretched over the whole screen with one opacity.
#include <windows.h>

#include <cstdint>

#include "framework/Geometry.h"
#include "framework/PixelRows.h"
#include "platform/Gdiplus.h"

inline constexpr float kDimAlpha = 0.7f;

// Draws the dimming over `dc` as one drawing for a screenWidth x
// screenHeight screen. The imaging library makes two working copies of the
// size of the drawing's part on the surface.
void DrawDimming(HDC dc, const gdip::Image& back, int screenWidth, int screenHeight);

// `area` of `plain` into 32-bit rows `width` pixels apart, as a copy between
// surfaces puts it: the colour bytes, the fourth byte zero.
void CopyPlainArea(uint32_t* target, int width, const PixelRows& plain, const Rect& area);

// Makes `target`, an empty 32-bit DIB section of width x height at the
// screen's top-left corner (its context and its memory), what copying
// `plain` into it and DrawDimming would make, with one of the library's two
// working copies, and that one a band where the scale allows: the library
// draws the backdrop's own pixels straight into the target's memory, a band
// of image rows at a time (DimmingBands); then band by band they are premultiplied,
// the plain picture is put under them and they are blended onto it, as the
// library's drawing onto a context blends them.
bool DimInBands(HDC target, uint32_t* targetBits, int width, int height, const PixelRows& plain,
                const gdip::Image& back, int screenWidth, int screenHeight);

// Whether DimInBands gives DrawDimming's exact pixels on this platform,
// checked on the screen's top-left corner, thin edge included.
bool DimInBandsMatches(const gdip::Image& back, int screenWidth, int screenHeight);
