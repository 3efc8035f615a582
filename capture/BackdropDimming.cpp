#include "capture/BackdropDimming.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "capture/DimmingBands.h"
#include "platform/Surface.h"

namespace {
// Rows premultiplied and blended at a time: small beside the screen, large
// enough that the per-band calls cost nothing.
constexpr int kBandRows = 64;
// Image rows per drawing of the backdrop: the library's working copy is a
// few megabytes where the scale allows bands, not a screen's worth.
constexpr int kImageBandRows = 90;
}  // namespace

void DrawDimming(HDC dc, const gdip::Image& back, int screenWidth, int screenHeight) {
    gdip::Graphics g(dc);
    gdip::AlphaAttributes attributes(kDimAlpha);
    const int w = static_cast<int>(back.Width());
    const int h = static_cast<int>(back.Height());
    gdip::DrawImageRectRect(g, back, 0, 0, screenWidth, screenHeight, 0, 0, w, h, &attributes);
}

void CopyPlainArea(uint32_t* target, int width, const PixelRows& plain, const Rect& area) {
    if (area.IsEmpty()) return;
    const size_t count = static_cast<size_t>(area.Width());
    for (int y = area.top; y < area.bottom; ++y) {
        uint32_t* out = target + static_cast<size_t>(y) * width + area.left;
        const uint8_t* in = plain.bits + static_cast<size_t>(y) * plain.rowBytes +
                            static_cast<size_t>(area.left) * static_cast<size_t>(plain.bytesPerPixel);
        // Every copy of a changed area goes through here: a plain loop per
        // pixel size, without the general reader's arithmetic.
        if (plain.bytesPerPixel == 3) {
            // Four pixels from three little-endian words at a time.
            size_t x = 0;
            for (; x + 4 <= count; x += 4, in += 12) {
                uint32_t w[3];
                std::memcpy(w, in, sizeof w);
                out[x] = w[0] & 0xFFFFFFu;
                out[x + 1] = (w[0] >> 24 | w[1] << 8) & 0xFFFFFFu;
                out[x + 2] = (w[1] >> 16 | w[2] << 16) & 0xFFFFFFu;
                out[x + 3] = w[2] >> 8;
            }
            for (; x < count; ++x, in += 3)
                out[x] = static_cast<uint32_t>(in[0]) | static_cast<uint32_t>(in[1]) << 8 |
                         static_cast<uint32_t>(in[2]) << 16;
        } else {
            for (size_t x = 0; x < count; ++x, in += plain.bytesPerPixel)
                out[x] = static_cast<uint32_t>(in[0]) | static_cast<uint32_t>(in[1]) << 8 |
                         static_cast<uint32_t>(in[2]) << 16;
        }
    }
}

bool DimInBands(HDC target, uint32_t* targetBits, int width, int height, const PixelRows& plain,
                const gdip::Image& back, int screenWidth, int screenHeight) {
    if (!target || !targetBits || !plain || !back || width <= 0 || height <= 0) return false;
    // The drawing's own pixels, alpha and all, replace the empty target: the
    // library then needs no second surface to blend through.
    const gdip::Image pixels = gdip::Image::OverArgbPixels(width, height, targetBits);
    if (!pixels) return false;
    gdip::Graphics g(pixels.get());
    if (!g) return false;
    gdip::ReplaceWhenDrawing(g);
    gdip::AlphaAttributes attributes(kDimAlpha);
    Surface band;
    if (!band.CreateDib(width, std::min(kBandRows, height))) return false;
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    const int imageWidth = static_cast<int>(back.Width());
    // Lowest first: a band's own rows are final once it is drawn, as the
    // band above draws only over its margin.
    for (const DimmingBand& drawing : DimmingBands(screenHeight, static_cast<int>(back.Height()), kImageBandRows)) {
        if (drawing.ownTop >= height) continue;
        gdip::DrawImageRectRect(g, back, 0, drawing.screenTop, screenWidth, drawing.screenBottom - drawing.screenTop,
                                0, drawing.imageTop, imageWidth, drawing.imageBottom - drawing.imageTop, &attributes);
        // Its rows premultiplied, the plain picture put under them and they
        // blended onto it, as the library's drawing onto a context does.
        for (int top = drawing.ownTop; top < std::min(height, drawing.screenBottom); top += kBandRows) {
            const int rows = std::min({kBandRows, height - top, drawing.screenBottom - top});
            if (!gdip::CopyRowsPremultiplied(pixels, top, rows, band.bits())) return false;
            CopyPlainArea(targetBits, width, plain, Rect{0, top, width, top + rows});
            ::GdiAlphaBlend(target, 0, top, width, rows, band.dc(), 0, 0, width, rows, blend);
            ::GdiFlush();
        }
    }
    return true;
}

bool DimInBandsMatches(const gdip::Image& back, int screenWidth, int screenHeight) {
    // More rows than a band and the edge between the two highest drawings,
    // every byte value in each colour, and the outermost pixels where the
    // image thins out.
    const std::vector<DimmingBand> drawings = DimmingBands(screenHeight, static_cast<int>(back.Height()), kImageBandRows);
    const int w = std::min(screenWidth, 256);
    const int edge = drawings.size() > 1 ? drawings.back().screenBottom : 0;
    const int h = std::min(screenHeight, std::max(kBandRows, edge) + 9);
    Surface plain, drawn, banded;
    if (!plain.CreateDib(w, h) || !drawn.CreateDib(w, h) || !banded.CreateDib(w, h)) return false;
    auto* p = static_cast<uint32_t*>(plain.bits());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p[y * w + x] = static_cast<uint32_t>(x & 0xFF) | static_cast<uint32_t>((x * 7 + y * 31 + 3) & 0xFF) << 8 |
                           static_cast<uint32_t>((x * 13 + y * 17 + 5) & 0xFF) << 16;
    std::memcpy(drawn.bits(), p, static_cast<size_t>(w) * h * 4);
    DrawDimming(drawn.dc(), back, screenWidth, screenHeight);
    if (!DimInBands(banded.dc(), static_cast<uint32_t*>(banded.bits()), w, h, PixelRows::Of(p, w, 4), back,
                    screenWidth, screenHeight))
        return false;
    ::GdiFlush();
    return std::memcmp(drawn.bits(), banded.bits(), static_cast<size_t>(w) * h * 4) == 0;
}
