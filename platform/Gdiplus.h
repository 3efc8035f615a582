#pragma once
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <string>

// Thin owners over GDI+'s flat interface. Each object is released exactly once
// by its owner. A failed creation leaves an empty owner whose drawing does
// nothing and whose sizes read as 0, which is how the program treats a missing
// or unreadable image.
namespace gdip {

using Gdiplus::GpBitmap;
using Gdiplus::GpGraphics;
using Gdiplus::GpImage;
using Gdiplus::GpImageAttributes;

// Starts GDI+ for the rest of the process; the token is never given back.
void Startup();

class Image {
public:
    Image() = default;
    explicit Image(GpImage* image);
    ~Image();
    Image(Image&& o) noexcept;
    Image& operator=(Image&& o) noexcept;
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    static Image FromFile(const wchar_t* path);
    // The picture of a file, in memory of its own: the decoder and what it
    // holds are let go at once.
    static Image PixelsFromFile(const wchar_t* path);
    // The path in the ANSI code page, converted before opening.
    static Image FromFileAnsi(const char* path);
    static Image FromHBitmap(HBITMAP bitmap);
    // A blank w x h bitmap of 32 bits per pixel with alpha.
    static Image Blank(int w, int h);
    // A w x h bitmap over top-down rows of 32-bit ARGB (alpha not
    // premultiplied), `w` pixels apart, that stay the caller's: the memory
    // must outlive the image.
    static Image OverArgbPixels(int w, int h, void* bits);

    GpImage* get() const { return m_image; }
    explicit operator bool() const { return m_image != nullptr; }
    UINT Width() const;
    UINT Height() const;

private:
    GpImage* m_image = nullptr;
};

class Graphics {
public:
    explicit Graphics(HDC dc);
    explicit Graphics(GpImage* image);
    ~Graphics();
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;
    GpGraphics* get() const { return m_graphics; }
    explicit operator bool() const { return m_graphics != nullptr; }

private:
    GpGraphics* m_graphics = nullptr;
};

// Image attributes whose colour matrix is the identity but for the alpha
// factor: drawing with them blends alpha * image + (1 - alpha) * destination.
class AlphaAttributes {
public:
    explicit AlphaAttributes(float alpha);
    ~AlphaAttributes();
    AlphaAttributes(const AlphaAttributes&) = delete;
    AlphaAttributes& operator=(const AlphaAttributes&) = delete;
    GpImageAttributes* get() const { return m_attributes; }

private:
    GpImageAttributes* m_attributes = nullptr;
};

// Drawing replaces what is under it, alpha included, instead of blending.
void ReplaceWhenDrawing(const Graphics& g);

// Rows [top, top + h) of `argb` (an image of 32-bit ARGB) premultiplied by
// the library's own conversion, into top-down rows of the image's width at
// `out`. False when the library refuses.
bool CopyRowsPremultiplied(const Image& argb, int top, int h, void* out);

// Draws (sx, sy, sw, sh) of image onto (dx, dy, dw, dh), in pixels.
void DrawImageRectRect(const Graphics& g, const Image& image, int dx, int dy, int dw, int dh, int sx, int sy,
                       int sw, int sh, const AlphaAttributes* attributes);

// A pen of one colour (0xAARRGGBB) and width in world units.
class Pen {
public:
    Pen(Gdiplus::ARGB color, float width);
    ~Pen();
    Pen(const Pen&) = delete;
    Pen& operator=(const Pen&) = delete;
    Gdiplus::GpPen* get() const { return m_pen; }
    explicit operator bool() const { return m_pen != nullptr; }

private:
    Gdiplus::GpPen* m_pen = nullptr;
};

// A brush that fills with one colour (0xAARRGGBB).
class SolidBrush {
public:
    explicit SolidBrush(Gdiplus::ARGB color);
    ~SolidBrush();
    SolidBrush(const SolidBrush&) = delete;
    SolidBrush& operator=(const SolidBrush&) = delete;
    Gdiplus::GpBrush* get() const { return m_brush; }
    explicit operator bool() const { return m_brush != nullptr; }

private:
    Gdiplus::GpSolidFill* m_brush = nullptr;
};

// Draws text in the face at the size in points, regular, in one opaque
// colour, laid out in box: wrapped at its width, clipped to it, from its
// top-left corner. The colour comes through a two-stop gradient brush whose
// stops are equal. Nothing is drawn when the face is missing.
void DrawTextInBox(HDC dc, const std::wstring& text, const wchar_t* face, float points, Gdiplus::ARGB color,
                   const Gdiplus::RectF& box);

// Fills (x, y, w, h) with the brush, in pixels.
void FillRectangle(const Graphics& g, const SolidBrush& brush, int x, int y, int w, int h);

// Fills the polygon of n points (alternate filling) in one colour
// (0xAARRGGBB) with high-quality smoothing, as the library does. An opaque
// polygon is filled by the platform's own region fill where that gives the
// library's exact pixels (a library that does not smooth fills the same
// region), checked once per process: it costs a small part of the library's
// fill, which works on the polygon's whole bounding box.
void FillPolygon(HDC dc, const POINT* points, int n, Gdiplus::ARGB color);

}  // namespace gdip
