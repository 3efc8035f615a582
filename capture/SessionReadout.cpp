// The pointer read-out of the capture session: while the left button is held
// on the selection, a box beside the pointer shows the true rectangle's
// top-left corner and the colour of the screen pixel under the pointer. The
// same step writes the size label's text.
#include <cstring>
#include <vector>

#include "capture/PaintLayout.h"
#include "capture/SnapcrestDlg.h"
#include "platform/FontQuality.h"

namespace {
constexpr COLORREF kOutlineColour = 0x00939393;
constexpr Gdiplus::ARGB kFillColour = 0x64292B2F;  // about 39 % opaque

}  // namespace

Point CSnapcrestDlg::ReadoutPointer() const {
    if (m_bReadoutPointerFixed) return m_ptReadoutPointer;
    POINT p{};
    ::GetCursorPos(&p);
    return Point{p.x, p.y};
}

ReadoutLayout CSnapcrestDlg::ReadoutLayoutAt(Point p) const {
    // The font's measures, once per session.
    if (m_nReadoutLineHeight == 0) {
        UniqueDC measure(::CreateCompatibleDC(nullptr));
        UniqueFont font(CreatePointFontA(kReadoutPointSize, kReadoutFace));
        SelectScope selectFont(measure.get(), font.get());
        TEXTMETRICA metrics{};
        ::GetTextMetricsA(measure.get(), &metrics);
        SIZE reference{};
        ::GetTextExtentPoint32A(measure.get(), kReadoutReferenceText, kReadoutReferenceLength, &reference);
        m_nReadoutLineHeight = metrics.tmHeight + metrics.tmExternalLeading;
        m_nReadoutReferenceWidth = reference.cx;
    }
    return PlaceReadout(p, m_nReadoutLineHeight, m_nReadoutReferenceWidth, m_nScreenWidth);
}

void CSnapcrestDlg::DrawPointerReadout(const Rect& t, HDC dc) { PaintPointerReadout(t, dc, false); }

void CSnapcrestDlg::DrawPointerReadoutDimmed(const Rect& t, HDC dc) { PaintPointerReadout(t, dc, true); }

void CSnapcrestDlg::PaintPointerReadout(const Rect& t, HDC dc, bool dimmed) {
    const Point p = ReadoutPointer();
    const ReadoutLayout layout = ReadoutLayoutAt(p);
    // The picture composed only where it changed leaves out a box the
    // interior will cover; what the step records is recorded all the same.
    if (dimmed && ReadoutHiddenByInterior(layout, t)) {
        NoteReadout(t, p, ReadoutColour(p));
        return;
    }
    // Without the font the lines come in the surface's current one. It is
    // made once per session: it costs more to make than the box to draw. Its
    // quality is the system's for a default font, made explicit, as the
    // label's.
    if (!m_hReadoutFont)
        m_hReadoutFont.reset(CreatePointFontA(kReadoutPointSize, kReadoutFace, SystemTextQuality()));
    SelectScope selectFont(dc, m_hReadoutFont.get());
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);

    // On a dimmed picture the box's area starts from the bright snapshot, as
    // it would before the dimming. A pixel more on each side costs nothing
    // and keeps a rounding of the fill's edge inside.
    const Rect area = layout.Bounds().Inflated(1).Intersected(Rect{0, 0, m_nScreenWidth, m_nScreenHeight});
    if (dimmed) CopySnapshot(dc, area);

    // Made once per session, as the font.
    if (!m_hReadoutPen) m_hReadoutPen.reset(::CreatePen(PS_SOLID, 1, kOutlineColour));
    COLORREF colour = 0;
    {
        SelectScope selectBrush(dc, ::GetStockObject(NULL_BRUSH));
        SelectScope selectPen(dc, m_hReadoutPen.get());
        // The fill is the same translucent rectangle wherever the box goes;
        // the library's drawing of it is captured once.
        if (!m_readoutFill.Ready() || m_readoutFill.Width() != layout.fill.Width() ||
            m_readoutFill.Height() != layout.fill.Height()) {
            m_readoutFill.Capture(layout.fill.Width(), layout.fill.Height(), [&layout](HDC target) {
                gdip::Graphics g(target);
                gdip::SolidBrush fill(kFillColour);
                gdip::FillRectangle(g, fill, 0, 0, layout.fill.Width(), layout.fill.Height());
            });
        }
        m_readoutFill.BlendOnto(WorkTarget(dc), dc, layout.fill.left, layout.fill.top);
        const Rect& b = layout.box;
        ::Rectangle(dc, b.left, b.top, b.right, b.bottom);

        char text[64];
        FormatReadoutCorner(t, text, sizeof text);
        RECT line1{layout.line1.left, layout.line1.top, layout.line1.right, layout.line1.bottom};
        ::DrawTextA(dc, text, -1, &line1, DT_CENTER);

        colour = ReadoutColour(p);
        FormatReadoutColour(colour, text, sizeof text);
        RECT line2{layout.line2.left, layout.line2.top, layout.line2.right, layout.line2.bottom};
        ::DrawTextA(dc, text, -1, &line2, DT_CENTER);
    }

    NoteReadout(t, p, colour);
    ::SetBkMode(dc, oldMode);

    if (dimmed) DimReadoutArea(dc, area);
}

COLORREF CSnapcrestDlg::ReadoutColour(Point p) const {
    // The pixel the user sees now under the pointer, from the screen, which
    // still shows the previous picture (the work surface may not any more).
    if (m_bReadoutPointerFixed) return m_crReadoutColour;  // read when the change was marked
    WindowDC window(m_hWnd);
    return ::GetPixel(window.get(), p.x, p.y);
}

void CSnapcrestDlg::NoteReadout(const Rect& t, Point p, COLORREF colour) {
    FormatSizeText(t, m_szSizeText, sizeof m_szSizeText);
    m_nReadoutLeft = t.left;
    m_nReadoutTop = t.top;
    m_nReadoutX = p.x;
    m_nReadoutY = p.y;
    m_nReadoutColor = static_cast<int>(colour);
}

void CSnapcrestDlg::DimReadoutArea(HDC dc, Rect area) {
    // A composition limited to part of the surface changes nothing outside
    // it: the box's pixels there were not drawn again, and dimming them once
    // more would darken them.
    const std::vector<Rect> parts = ClippedParts(dc, area);
    if (parts.empty()) return;
    ::GdiFlush();
    const PixelTarget work = WorkTarget(dc);
    uint32_t* target = work ? work.bits : DibPixels(dc, m_nScreenWidth, m_nScreenHeight);
    const auto* dimmedSnapshot = static_cast<const uint32_t*>(m_dcDimmed.bits());
    if (target && m_snapshotPixels && dimmedSnapshot && m_dimTable.Ready() &&
        area.Intersected(RegularDimArea(m_nScreenWidth, m_nScreenHeight)) == area) {
        for (const Rect& part : parts) m_dimTable.Redim(target, m_snapshotPixels, dimmedSnapshot, m_nScreenWidth, part);
        return;
    }
    // Near the screen's edges (or without the table) only the image itself
    // gives the right pixels: the whole dimming, clipped to the area.
    const int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    DimBackground(dc);
    ::RestoreDC(dc, saved);
}

void CSnapcrestDlg::LearnDimTable() {
    // The probe is the screen's top-left corner: the dimming draws the whole
    // image as for the screen, and the small surface keeps only that corner,
    // so it costs little. Each colour byte takes every value in each row of
    // the part used, which stays clear of the image's thinner outermost pixels.
    constexpr int kUsedWidth = 256, kUsedRows = 16;
    constexpr int w = kUsedWidth + kDimEdge, h = kUsedRows + kDimEdge;
    if (m_nScreenWidth < w + kDimEdge || m_nScreenHeight < h + kDimEdge) return;
    Surface probe, black;
    if (!probe.CreateDib(w, h) || !black.CreateDib(w, h)) return;
    auto* probePixels = static_cast<uint32_t*>(probe.bits());
    std::memset(black.bits(), 0, static_cast<size_t>(w) * h * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            probePixels[y * w + x] = static_cast<uint32_t>((x & 0xFF) | ((x * 7 + y * 31 + 3) & 0xFF) << 8 |
                                                           ((x * 13 + y * 17 + 5) & 0xFF) << 16);
    std::vector<uint32_t> plain(probePixels, probePixels + w * h);
    DimBackground(probe.dc());
    DimBackground(black.dc());
    ::GdiFlush();
    std::vector<uint32_t> used, usedDimmed, usedBlack;
    for (int y = kDimEdge; y < h; ++y)
        for (int x = kDimEdge; x < w; ++x) {
            used.push_back(plain[y * w + x]);
            usedDimmed.push_back(probePixels[y * w + x]);
            usedBlack.push_back(static_cast<const uint32_t*>(black.bits())[y * w + x]);
        }
    m_dimTable.Learn(used.data(), usedDimmed.data(), usedBlack.data(), used.size());
}
