#include "platform/Gdiplus.h"

#include <utility>
#include <vector>

#include "platform/AnsiText.h"
#include "platform/GdiHandles.h"
#include "platform/HandleCount.h"
#include "platform/Surface.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace gdip {

void Startup() {
    static ULONG_PTR token = 0;
    GdiplusStartupInput input;  // version 1, no debug callback, background thread, external codecs
    GdiplusStartup(&token, &input, nullptr);
}

Image::Image(GpImage* image) : m_image(image) {
    if (m_image) LiveHandles::Add(LiveHandles::Images(), 1);
}

Image::~Image() {
    if (m_image) {
        GdipDisposeImage(m_image);
        LiveHandles::Add(LiveHandles::Images(), -1);
    }
}

Image::Image(Image&& o) noexcept : m_image(std::exchange(o.m_image, nullptr)) {}

Image& Image::operator=(Image&& o) noexcept {
    if (this != &o) {
        if (m_image) {
            GdipDisposeImage(m_image);
            LiveHandles::Add(LiveHandles::Images(), -1);
        }
        m_image = std::exchange(o.m_image, nullptr);
    }
    return *this;
}

Image Image::FromFile(const wchar_t* path) {
    GpBitmap* bitmap = nullptr;
    if (GdipCreateBitmapFromFileICM(path, &bitmap) != Ok) bitmap = nullptr;
    return Image(bitmap);
}

Image Image::PixelsFromFile(const wchar_t* path) {
    const Image decoded = FromFile(path);
    if (!decoded) return Image();
    PixelFormat format = PixelFormat32bppARGB;
    GdipGetImagePixelFormat(decoded.get(), &format);
    GpBitmap* copy = nullptr;
    if (GdipCloneBitmapAreaI(0, 0, static_cast<INT>(decoded.Width()), static_cast<INT>(decoded.Height()), format,
                             static_cast<GpBitmap*>(decoded.get()), &copy) != Ok)
        return Image();
    return Image(copy);
}

Image Image::FromFileAnsi(const char* path) {
    const std::wstring wide = WidenAnsi(path ? path : "");
    return wide.empty() ? Image() : FromFile(wide.c_str());
}

Image Image::FromHBitmap(HBITMAP bitmap) {
    GpBitmap* image = nullptr;
    if (GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &image) != Ok) image = nullptr;
    return Image(image);
}

Image Image::Blank(int w, int h) {
    GpBitmap* image = nullptr;
    if (w <= 0 || h <= 0 || GdipCreateBitmapFromScan0(w, h, 0, PixelFormat32bppARGB, nullptr, &image) != Ok)
        image = nullptr;
    return Image(image);
}

Image Image::OverArgbPixels(int w, int h, void* bits) {
    GpBitmap* image = nullptr;
    if (w <= 0 || h <= 0 || !bits ||
        GdipCreateBitmapFromScan0(w, h, w * 4, PixelFormat32bppARGB, static_cast<BYTE*>(bits), &image) != Ok)
        image = nullptr;
    return Image(image);
}

UINT Image::Width() const {
    UINT w = 0;
    if (m_image) GdipGetImageWidth(m_image, &w);
    return w;
}

UINT Image::Height() const {
    UINT h = 0;
    if (m_image) GdipGetImageHeight(m_image, &h);
    return h;
}

Graphics::Graphics(HDC dc) {
    if (dc && GdipCreateFromHDC(dc, &m_graphics) != Ok) m_graphics = nullptr;
}

Graphics::Graphics(GpImage* image) {
    if (image && GdipGetImageGraphicsContext(image, &m_graphics) != Ok) m_graphics = nullptr;
}

Graphics::~Graphics() {
    if (m_graphics) GdipDeleteGraphics(m_graphics);
}

AlphaAttributes::AlphaAttributes(float alpha) {
    if (GdipCreateImageAttributes(&m_attributes) != Ok) {
        m_attributes = nullptr;
        return;
    }
    ColorMatrix matrix = {{{1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}, {0, 0, 1, 0, 0}, {0, 0, 0, alpha, 0}, {0, 0, 0, 0, 1}}};
    GdipSetImageAttributesColorMatrix(m_attributes, ColorAdjustTypeDefault, TRUE, &matrix, nullptr,
                                      ColorMatrixFlagsDefault);
}

AlphaAttributes::~AlphaAttributes() {
    if (m_attributes) GdipDisposeImageAttributes(m_attributes);
}

void ReplaceWhenDrawing(const Graphics& g) {
    if (g) GdipSetCompositingMode(g.get(), CompositingModeSourceCopy);
}

bool CopyRowsPremultiplied(const Image& argb, int top, int h, void* out) {
    if (!argb || !out || h <= 0) return false;
    const int w = static_cast<int>(argb.Width());
    auto* bitmap = static_cast<GpBitmap*>(argb.get());
    // The conversion happens as the rows are read into the caller's memory.
    BitmapData data{};
    data.Width = static_cast<UINT>(w);
    data.Height = static_cast<UINT>(h);
    data.Stride = w * 4;
    data.PixelFormat = PixelFormat32bppPARGB;
    data.Scan0 = out;
    GpRect rows(0, top, w, h);
    if (GdipBitmapLockBits(bitmap, &rows, ImageLockModeRead | ImageLockModeUserInputBuf, PixelFormat32bppPARGB,
                           &data) != Ok)
        return false;
    GdipBitmapUnlockBits(bitmap, &data);
    return true;
}

void DrawImageRectRect(const Graphics& g, const Image& image, int dx, int dy, int dw, int dh, int sx, int sy,
                       int sw, int sh, const AlphaAttributes* attributes) {
    if (!g || !image) return;
    GdipDrawImageRectRectI(g.get(), image.get(), dx, dy, dw, dh, sx, sy, sw, sh, UnitPixel,
                           attributes ? attributes->get() : nullptr, nullptr, nullptr);
}

Pen::Pen(ARGB color, float width) {
    if (GdipCreatePen1(color, width, UnitWorld, &m_pen) != Ok) m_pen = nullptr;
}

Pen::~Pen() {
    if (m_pen) GdipDeletePen(m_pen);
}

SolidBrush::SolidBrush(ARGB color) {
    if (GdipCreateSolidFill(color, &m_brush) != Ok) m_brush = nullptr;
}

SolidBrush::~SolidBrush() {
    if (m_brush) GdipDeleteBrush(m_brush);
}

namespace {
// One GDI+ object released once by the given delete call.
template <class T, GpStatus(WINGDIPAPI* Delete)(T*)>
class Owned {
public:
    Owned() = default;
    ~Owned() {
        if (m_object) Delete(m_object);
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    T* get() const { return m_object; }
    T** out() { return &m_object; }

private:
    T* m_object = nullptr;
};
}  // namespace

void DrawTextInBox(HDC dc, const std::wstring& text, const wchar_t* face, float points, ARGB color,
                   const Gdiplus::RectF& box) {
    // Declared so that they go in the reverse order: format, brush, font,
    // family, graphics.
    Graphics g(dc);
    Owned<Gdiplus::GpFontFamily, GdipDeleteFontFamily> family;
    Owned<Gdiplus::GpFont, GdipDeleteFont> font;
    Owned<Gdiplus::GpBrush, GdipDeleteBrush> brush;
    Owned<Gdiplus::GpStringFormat, GdipDeleteStringFormat> format;
    if (!g || GdipCreateFontFamilyFromName(face, nullptr, family.out()) != Ok) return;
    if (GdipCreateFont(family.get(), points, Gdiplus::FontStyleRegular, Gdiplus::UnitPoint, font.out()) != Ok) return;
    const Gdiplus::Point from(0, 0), to(20, 20);
    Gdiplus::GpLineGradient* gradient = nullptr;
    if (GdipCreateLineBrushI(&from, &to, color, color, Gdiplus::WrapModeTile, &gradient) != Ok) return;
    *brush.out() = gradient;
    if (GdipCreateStringFormat(0, 0, format.out()) != Ok) return;
    GdipDrawString(g.get(), text.c_str(), static_cast<INT>(text.size()), font.get(), &box, format.get(),
                   brush.get());
}

void FillRectangle(const Graphics& g, const SolidBrush& brush, int x, int y, int w, int h) {
    if (!g || !brush) return;
    GdipFillRectangleI(g.get(), brush.get(), x, y, w, h);
}

namespace {
void LibraryFillPolygon(HDC dc, const POINT* points, int n, ARGB color) {
    Graphics g(dc);
    if (!g) return;
    GdipSetSmoothingMode(g.get(), SmoothingModeHighQuality);
    SolidBrush brush(color);
    if (!brush) return;
    std::vector<GpPoint> gp(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) gp[i] = GpPoint(points[i].x, points[i].y);
    GdipFillPolygonI(g.get(), brush.get(), gp.data(), n, FillModeAlternate);
}

void RegionFillPolygon(HDC dc, const POINT* points, int n, ARGB color) {
    UniqueRegion region(::CreatePolygonRgn(points, n, ALTERNATE));
    UniqueBrush brush(::CreateSolidBrush(RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF)));
    if (region && brush) ::FillRgn(dc, region.get(), brush.get());
}

// Whether the region fill gives the library's pixels: polygons with every
// kind of edge (steep, flat, crossing, leaving the surface) filled both ways
// on a small surface must agree to the pixel.
bool RegionFillMatchesLibrary() {
    constexpr int kSize = 64;
    static const POINT probes[][6] = {
        {{3, 2}, {60, 41}, {57, 47}, {62, 61}, {40, 58}, {47, 52}},
        {{-9, 30}, {70, 9}, {33, 70}, {25, -6}, {50, 50}, {8, 12}},
        {{31, 31}, {32, 2}, {33, 60}, {61, 33}, {2, 34}, {45, 45}},
        {{5, 60}, {6, 5}, {59, 4}, {20, 21}, {58, 59}, {7, 58}},
    };
    const ARGB colour = 0xFF3C8AE1;
    Surface library, region;
    if (!library.CreateDib(kSize, kSize) || !region.CreateDib(kSize, kSize)) return false;
    for (const auto& polygon : probes) {
        LibraryFillPolygon(library.dc(), polygon, 6, colour);
        RegionFillPolygon(region.dc(), polygon, 6, colour);
    }
    ::GdiFlush();
    const auto* a = static_cast<const uint32_t*>(library.bits());
    const auto* b = static_cast<const uint32_t*>(region.bits());
    bool drawn = false;
    for (int i = 0; i < kSize * kSize; ++i) {
        if ((a[i] & 0xFFFFFF) != (b[i] & 0xFFFFFF)) return false;
        drawn = drawn || (a[i] & 0xFFFFFF) != 0;
    }
    return drawn;
}
}  // namespace

void FillPolygon(HDC dc, const POINT* points, int n, ARGB color) {
    if (n < 3) return;
    if ((color >> 24) == 0xFF) {
        static const bool regionFillMatches = RegionFillMatchesLibrary();
        if (regionFillMatches) {
            RegionFillPolygon(dc, points, n, color);
            return;
        }
    }
    LibraryFillPolygon(dc, points, n, color);
}

}  // namespace gdip
