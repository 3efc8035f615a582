#pragma once
#include <cstdint>

#include "platform/GdiHandles.h"

// A memory drawing context with a bitmap selected into it. The bitmap that the
// context held when it was made is kept and selected back before the context
// goes. Each step of the teardown can be taken on its own, so that a caller
// can release several surfaces in an order of its choosing; whatever is left
// is released by the destructor.
// A top-down DIB section of width x height, 32 bits per pixel unless told
// 24, selected nowhere; bits receives its pixel memory. Null on failure (for
// tests, SNAPCREST_FAIL_SURFACE=N makes the N-th one of at least the
// screen's size fail, as on a machine short of memory).
HBITMAP CreateTopDownDib(int width, int height, void** bits, WORD bitsPerPixel = 32);

// The pixels of the 32-bit DIB section of w x h selected into dc, or null for
// any other surface. Every such surface of the program is top-down (see
// Surface); the platform may report its height either way.
uint32_t* DibPixels(HDC dc, int w, int h);

// Rows of `width` pixels to copy between surfaces at a time, at least one.
// The platform converts a copy through working memory as big as the copy;
// kept under the size at which the C library maps a block of its own (and,
// once such a block was let go, keeps later ones of that size), that memory
// goes back to the heap.
inline int CopyBandRows(int width) {
    constexpr int kCopyBandPixels = 30000;
    return width >= kCopyBandPixels ? 1 : kCopyBandPixels / (width > 0 ? width : 1);
}

class Surface {
public:
    Surface() = default;
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    // A 32-bit, top-down DIB section of width x height for its own context.
    bool CreateDib(int width, int height);
    // The same, with a DIB section of width x height made elsewhere (by
    // CreateTopDownDib; bits is its pixel memory), which becomes the
    // surface's own; on failure it is released.
    bool AdoptDib(UniqueBitmap bitmap, void* bits, int width, int height);
    // Makes the context only; SelectBitmap adds a bitmap owned elsewhere.
    bool CreateContext();
    void SelectBitmap(HBITMAP bitmap);
    // For a context that text and drawing libraries select fonts into and
    // put them back (or save and restore its state) every time it is drawn
    // on: between those it holds a font of fixed quality. Selecting a font
    // of default quality costs Wine's X driver a look-up of the X resources,
    // which re-reads the user's resource files every time while the display
    // has none; putting back this one costs nothing of the kind. It is the
    // context's own font (the system font, a bitmap font that is never
    // smoothed) with that quality fixed as unsmoothed; without it the
    // context keeps its own.
    void KeepFixedQualityFont();

    HDC dc() const { return m_dc.get(); }
    HBITMAP bitmap() const { return m_bitmap.get(); }
    int width() const { return m_width; }
    int height() const { return m_height; }
    // Pixel memory of a DIB section (top-down rows of BGRA), or null.
    void* bits() const { return m_bits; }

    void RestoreBitmap();
    void DeleteContext();
    void DeleteBitmap();

private:
    void RestoreFont();

    UniqueFont m_restingFont;  // outlives its selection: released after the context
    HGDIOBJ m_oldFont = nullptr;
    UniqueDC m_dc;
    UniqueBitmap m_bitmap;  // only when the surface owns its bitmap
    HGDIOBJ m_oldBitmap = nullptr;
    void* m_bits = nullptr;
    int m_width = 0;
    int m_height = 0;
};
