// Painting of the capture session: the picture is composed on the work surface
// only when m_bFullRedraw asks for it, and every paint copies what changed of
// the work surface to the window, in groups that reach the display apart
// when they lie far apart. During a drag the changes of each move are composed
// and copied at once, without a paint.
#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "capture/BackdropDimming.h"
#include "capture/FlushGroups.h"
#include "capture/PaintLayout.h"
#include "capture/SnapcrestDlg.h"
#include "framework/Win32Rect.h"
#include "platform/FontQuality.h"
#include "platform/WindowPixels.h"
#include "resources/Messages.h"

namespace {
// What handing the window's pixels to the display once more costs, counted in
// pixels sent. Under Wine on Xvfb, of 30,000, 100,000 and 300,000 this gave
// the least CPU per drag step (program, server and X together) for moves and
// resizes at 1920 x 1080 and 3840 x 2160.
constexpr long long kHandOverCostPixels = 100000;
}  // namespace

void CSnapcrestDlg::OnPaint() {
    if (::IsIconic(m_hWnd)) {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(m_hWnd, &ps);
        ::SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        RECT client;
        ::GetClientRect(m_hWnd, &client);
        const int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
        ::DrawIcon(dc, x, y, m_hIcon);
        ::EndPaint(m_hWnd, &ps);
        return;
    }

    const double start = PaintTiming::Now();
    double composeMs = -1;
    bool partial = false;
    // Changes made since the last repaint request are shown with this paint,
    // the read-out where the pointer is now.
    if (m_bFullRedraw && !m_bReferencePaint) InvalidateChanges();
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    m_bRepaintAsked = false;
    const std::vector<Rect> parts = PaintedParts(dc);
    // The background job's working memory is given back before the work
    // surface takes its own. Short of memory for the work surface the
    // session ends; until its window goes it shows the snapshot.
    if (m_bFullRedraw && m_bHasSelection) WaitForDimmedSnapshot();
    // A whole composition draws every pixel of the new work surface itself.
    if (m_bFullRedraw && !EnsureWorkSurface(!m_bReferencePaint && !m_bComposeAll)) m_bFullRedraw = 0;
    if (m_bFullRedraw) {
        partial = ComposeMarked();
        composeMs = PaintTiming::Now() - start;
    }
    // Clipped by the platform to the invalid region. Until the first
    // composition the picture is the snapshot itself.
    auto show = [this, dc](const Rect& area) {
        if (m_dcWork.dc())
            ::BitBlt(dc, area.left, area.top, area.Width(), area.Height(), m_dcWork.dc(), area.left, area.top, SRCCOPY);
        else
            CopySnapshot(dc, area);
    };
    ShowInGroups(parts, Rect{ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom}, show);
    // The text being typed, straight onto the window over the picture.
    CNoWndEdit::DrawHosts(m_hWnd, dc);
    ::EndPaint(m_hWnd, &ps);
    m_bReadoutPointerFixed = false;
    m_timing.PaintDone(start, composeMs, partial);
    if (!m_bFirstFrameShown) {
        m_bFirstFrameShown = true;
        ::PostMessageA(m_hWnd, kMsgFirstFrameShown, 0, 0);
    }
}

void CSnapcrestDlg::ShowInGroups(const std::vector<Rect>& parts, const Rect& whole,
                                 const std::function<void(const Rect&)>& copy) {
    const std::vector<Rect> groups = GroupForHandOver(parts, kHandOverCostPixels);
    if (groups.size() <= 1) {
        copy(whole);
        return;
    }
    for (size_t i = 0; i < groups.size(); ++i) {
        if (i > 0) HandOverWindowPixels();
        copy(groups[i]);
    }
}

std::vector<Rect> CSnapcrestDlg::PaintedParts(HDC paintDc) const {
    // The paint's context is limited to the update area: read from it, it
    // costs no round trips to the server, as asking the window would.
    UniqueRegion painted(::CreateRectRgn(0, 0, 0, 0));
    if (::GetRandomRgn(paintDc, painted.get(), SYSRGN) != 1) return {};
    // In screen coordinates.
    POINT origin{};
    ::GetDCOrgEx(paintDc, &origin);
    // A single rectangle needs no grouping.
    if (::OffsetRgn(painted.get(), -origin.x, -origin.y) != COMPLEXREGION) return {};
    return JoinColumns(RegionRects(painted.get()));
}

bool CSnapcrestDlg::EnsureWorkSurface(bool withSnapshot) {
    if (m_dcWork.bitmap()) return true;
    // The background job's, once it has ended: it holds the snapshot, and
    // its refusal stands for this one's.
    const bool made = !m_hDimThread && (m_workBitmapMade || m_bWorkSurfaceRefused);
    const bool ready = made ? m_dcWork.AdoptDib(std::move(m_workBitmapMade), m_workBitsMade, m_nScreenWidth, m_nScreenHeight)
                            : m_dcWork.CreateDib(m_nScreenWidth, m_nScreenHeight);
    if (made) withSnapshot = false;
    if (!ready) {
        // A context without its bitmap would paint the window black.
        m_dcWork.DeleteContext();
        AbandonShortOfMemory();
        return false;
    }
    if (withSnapshot) CopySnapshot(m_dcWork.dc(), Rect{0, 0, m_nScreenWidth, m_nScreenHeight});
    // The label, the read-out and the tracker put the context's font back
    // on every composition.
    m_dcWork.KeepFixedQualityFont();
    return true;
}

void CSnapcrestDlg::CopySnapshot(HDC dc, const Rect& area) {
    // The snapshot is kept in another format than the surfaces drawn on. The
    // platform converts a copy between the two through working memory of the
    // copy's size, which it may keep, at several times the cost of a plain
    // copy. Onto a surface of the program's own, the program converts what
    // the clipping lets through itself; onto anything else (the window
    // before the first composition) it copies a band of rows at a time.
    const std::vector<Rect> parts = ClippedParts(dc, area);
    const Rect screen{0, 0, m_nScreenWidth, m_nScreenHeight};
    const PixelTarget work = WorkTarget(dc);
    if (uint32_t* pixels = work ? work.bits : DibPixels(dc, m_nScreenWidth, m_nScreenHeight)) {
        ::GdiFlush();
        for (const Rect& part : parts) CopyPlainArea(pixels, m_nScreenWidth, m_snapshotPixels, part.Intersected(screen));
        return;
    }
    for (const Rect& part : parts) {
        const int bandRows = CopyBandRows(part.Width());
        for (int top = part.top; top < part.bottom; top += bandRows) {
            const int rows = std::min(bandRows, part.bottom - top);
            ::BitBlt(dc, part.left, top, part.Width(), rows, m_dcSnapshot.dc(), part.left, top, SRCCOPY);
        }
    }
}

std::vector<Rect> CSnapcrestDlg::ClippedParts(HDC dc, const Rect& area) const {
    std::vector<Rect> parts;
    auto keep = [&parts, &area](const std::vector<Rect>& clip) {
        for (const Rect& r : clip) {
            const Rect part = r.Intersected(area);
            if (!part.IsEmpty()) parts.push_back(part);
        }
    };
    if (m_bComposingParts && dc == m_dcWork.dc()) {
        keep(m_composeParts);
        return parts;
    }
    UniqueRegion clip(::CreateRectRgn(0, 0, 0, 0));
    if (::GetClipRgn(dc, clip.get()) != 1) return {area};
    keep(RegionRects(clip.get()));
    return parts;
}

PixelTarget CSnapcrestDlg::WorkTarget(HDC dc) const {
    // The reference way draws every item through the platform.
    if (!m_bComposing || m_bReferencePaint || dc != m_dcWork.dc() || !m_dcWork.bits()) return PixelTarget{};
    return PixelTarget{static_cast<uint32_t*>(m_dcWork.bits()), m_nScreenWidth, m_nScreenHeight,
                       m_bComposingParts ? &m_composeParts : nullptr};
}

void CSnapcrestDlg::EnsureToolBarSkin() {
    if (m_bSkinLoaded || !m_pToolBars) return;
    m_bSkinLoaded = true;
    m_pToolBars->LoadSkin();
}

void CSnapcrestDlg::RequestRecompose() { m_bFullRedraw = 1; }

void CSnapcrestDlg::OnHoverChanged() {
    RequestRecompose();
    if (m_bReferencePaint) {
        // The reference way repaints the bar's and the panel's areas.
        const RECT bar = ToRECT(m_pToolBars ? m_pToolBars->BarRect() : Rect{});
        ::InvalidateRect(m_hWnd, &bar, TRUE);
        if (m_pToolBars && m_pToolBars->m_bPanelShown) {
            const RECT panel = ToRECT(m_pToolBars->PanelArea());
            ::InvalidateRect(m_hWnd, &panel, TRUE);
        }
        return;
    }
    InvalidateChanges();
}

scene::Look CSnapcrestDlg::CurrentLook() const {
    scene::Look look;
    look.valid = true;
    look.hasSelection = m_bHasSelection != 0;
    for (const auto& shape : m_shapes) {
        const CShapeBase& s = *shape;
        // Everything a shape's pixels depend on besides its bounds.
        uint64_t stamp = std::hash<std::string>()(s.m_strText);
        auto mix = [&stamp](uint64_t v) { stamp = (stamp ^ v) * 0x100000001B3ull; };
        mix(static_cast<uint32_t>(s.m_ptStart.x));
        mix(static_cast<uint32_t>(s.m_ptStart.y));
        mix(static_cast<uint32_t>(s.m_ptEnd.x));
        mix(static_cast<uint32_t>(s.m_ptEnd.y));
        mix(s.m_points.size());
        if (!s.m_points.empty()) mix((static_cast<uint64_t>(s.m_points.back().x) << 32) ^ static_cast<uint32_t>(s.m_points.back().y));
        mix(s.m_crColor);
        mix(static_cast<uint32_t>(s.m_nPenWidth));
        mix(static_cast<uint64_t>(s.m_fTextWidth * 16) ^ (static_cast<uint64_t>(s.m_fTextHeight * 16) << 32));
        look.shapes.push_back(scene::ShapeLook{&s, s.Bounds(), stamp});
    }
    if (!m_bHasSelection) return look;

    const Rect t = m_tracker.GetTrueRect();
    look.trueRect = t;
    look.trackerArea = m_tracker.DrawnArea();
    look.trackerPixels = m_tracker.DrawnPixels();
    look.trackerColor = m_tracker.m_crLine;
    const int labelX = t.left, labelY = SizeLabelY(t, m_bBarAbove != 0);
    // The bold italic text may lean a little past its box.
    look.labelBox = SizeLabelBox(labelX, labelY).Inflated(3);
    if (m_bShowReadout) {
        char text[64];
        FormatSizeText(t, text, sizeof text);
        look.labelText = text;
    } else {
        look.labelText = m_szSizeText;
    }
    if (m_bShowReadout) {
        // The box shows the corner and the colour the window shows under
        // the pointer, unless the interior covers it.
        const Rect screen{0, 0, m_nScreenWidth, m_nScreenHeight};
        const Point p = ReadoutPointer();
        const ReadoutLayout readout = ReadoutLayoutAt(p);
        const COLORREF colour = ShownColourAt(p);
        m_crReadoutColour = colour;
        if (!ReadoutHiddenByInterior(readout, t)) {
            look.readoutBox = readout.Bounds().Inflated(2).Intersected(screen);
            // Its lines are black until a label has been drawn on the work
            // surface, white after.
            look.readoutText = std::to_string(p.x) + "," + std::to_string(p.y) + "," + std::to_string(t.left) +
                               "," + std::to_string(t.top) + "," + std::to_string(colour) +
                               (m_bWorkTextWhite ? ",white" : ",black");
        }
    }
    if (m_pToolBars) {
        const ToolBarPlacement bar = PlaceToolBar(t, m_nScreenHeight);
        look.barRect = m_pToolBars->BarRectAt(bar.bar.x, bar.bar.y);
        look.panelArea = m_pToolBars->PanelAreaAt(bar.panel.x, bar.panel.y);
        look.barStates = m_pToolBars->Look();
    }
    return look;
}

void CSnapcrestDlg::InvalidateChanges() {
    // The pointer the read-out is marked for is the one the next paint
    // draws it for: where it was when the message being handled was taken
    // from the queue (for a paint, where it is then), known without asking
    // the server again.
    const DWORD cursor = ::GetMessagePos();
    m_ptReadoutPointer = Point{static_cast<short>(LOWORD(cursor)), static_cast<short>(HIWORD(cursor))};
    m_bReadoutPointerFixed = true;
    // The bar's place and size are known only once its skin is.
    if (m_bHasSelection) EnsureToolBarSkin();
    scene::Look now = CurrentLook();
    const scene::Change change = scene::Diff(m_lookMarked, now);
    m_lookMarked = std::move(now);
    if (change.whole) {
        m_bComposeAll = true;
        AskRepaint(nullptr);
        return;
    }
    if (change.areas.empty()) {
        // With no paint to come the read-out follows the pointer again.
        // (Asking the window for its update area costs three round trips
        // to the server under Wine; the session knows what it asked for.)
        if (!m_bRepaintAsked) m_bReadoutPointerFixed = false;
        return;
    }
    // One region, so that the window is told once.
    UniqueRegion changed(::CreateRectRgn(0, 0, 0, 0));
    UniqueRegion area(::CreateRectRgn(0, 0, 0, 0));
    for (const Rect& r : change.areas) {
        ::SetRectRgn(area.get(), r.left, r.top, r.right, r.bottom);
        ::CombineRgn(changed.get(), changed.get(), area.get(), RGN_OR);
    }
    ::CombineRgn(m_rgnCompose.get(), m_rgnCompose.get(), changed.get(), RGN_OR);
    if (ShowsChangesAtOnce()) {
        ComposeAndShowChanges();
        return;
    }
    AskRepaint(changed.get());
}

bool CSnapcrestDlg::ComposeMarked() {
    m_bFullRedraw = 0;
    HDC work = m_dcWork.dc();
    const bool partial = !m_bReferencePaint && !m_bComposeAll;
    // Only the areas that changed are composed: elsewhere the work surface
    // already holds what a whole composition would put there.
    if (partial) {
        ::SelectClipRgn(work, m_rgnCompose.get());
        m_composeParts = RegionRects(m_rgnCompose.get());
        m_bComposingParts = true;
    }
    m_bComposing = true;
    if (m_bReferencePaint)
        ComposeReference(work);
    else
        ComposeFast(work);
    m_bComposing = m_bComposingParts = false;
    if (partial) ::SelectClipRgn(work, nullptr);
    ::SetRectRgn(m_rgnCompose.get(), 0, 0, 0, 0);
    m_bComposeAll = false;
    return partial;
}

bool CSnapcrestDlg::ShowsChangesAtOnce() const {
    // During a drag each move changes a little, and the next comes soon: a
    // paint asked for and taken from the queue costs more round trips to the
    // server than the step's own drawing. Only while nothing else waits to
    // be painted (the changes marked are then all there is to compose), the
    // window shows the composed picture (no first frame still to come) and
    // no text is typed over it (only a paint draws that).
    return m_bButtonDown && !m_bRepaintAsked && !m_bReferencePaint && m_bFirstFrameShown && !m_bTextBoxOpen &&
           m_dcWork.bitmap() && !m_bComposeAll;
}

void CSnapcrestDlg::ComposeAndShowChanges() {
    const double start = PaintTiming::Now();
    // Composing clears the marked areas; they are shown after it.
    UniqueRegion marked(::CreateRectRgn(0, 0, 0, 0));
    ::CombineRgn(marked.get(), m_rgnCompose.get(), nullptr, RGN_COPY);
    ComposeMarked();
    const std::vector<Rect> parts = JoinColumns(m_composeParts);
    const double composeMs = PaintTiming::Now() - start;
    {
        if (!m_dragWindowDC) m_dragWindowDC = std::make_unique<WindowDC>(m_hWnd);
        HDC window = m_dragWindowDC->get();
        ::SelectClipRgn(window, marked.get());
        RECT box{};
        ::GetRgnBox(marked.get(), &box);
        HDC work = m_dcWork.dc();
        ShowInGroups(parts, Rect{box.left, box.top, box.right, box.bottom}, [&](const Rect& r) {
            ::BitBlt(window, r.left, r.top, r.Width(), r.Height(), work, r.left, r.top, SRCCOPY);
        });
        ::SelectClipRgn(window, nullptr);
    }
    m_bReadoutPointerFixed = false;
    m_timing.PaintDone(start, composeMs, true);
}

void CSnapcrestDlg::AskRepaint(HRGN area) {
    // A null area is the whole window.
    ::InvalidateRgn(m_hWnd, area, FALSE);
    m_bRepaintAsked = true;
}

void CSnapcrestDlg::NoteDrawnOnWindow(HRGN area) {
    ::CombineRgn(m_rgnDrawnOnWindow.get(), m_rgnDrawnOnWindow.get(), area, RGN_OR);
    m_bDrawnOnWindow = true;
}

void CSnapcrestDlg::NoteDrawnOnWindow(const Rect& r) {
    if (r.IsEmpty()) return;
    NoteDrawnOnWindow(RectRegion(r).get());
}

void CSnapcrestDlg::ComposeReference(HDC dc) {
    CopySnapshot(dc, Rect{0, 0, m_nScreenWidth, m_nScreenHeight});
    if (m_bHasSelection) {
        // The backdrop image may still be in use by the background preparation.
        WaitForDimmedSnapshot();
        if (m_bShowReadout) DrawPointerReadout(m_tracker.GetTrueRect(), dc);
        DimBackground(dc);
        ComposeSelectionItems(dc, m_tracker.GetTrueRect());
    } else {
        m_bBarShown = 0;
    }
    DrawShapes(dc);
}

void CSnapcrestDlg::ComposeFast(HDC dc) {
    if (!m_bHasSelection) {
        CopySnapshot(dc, Rect{0, 0, m_nScreenWidth, m_nScreenHeight});
        m_bBarShown = 0;
        DrawShapes(dc);
        return;
    }
    WaitForDimmedSnapshot();
    if (!m_bDimmedReady) {
        ComposeReference(dc);
        return;
    }
    // The snapshot never changes while a selection exists, so its dimmed copy
    // stands for "copy the snapshot, dim the whole surface".
    ::BitBlt(dc, 0, 0, m_nScreenWidth, m_nScreenHeight, m_dcDimmed.dc(), 0, 0, SRCCOPY);
    // The read-out box is drawn before the dimming, so its own area is
    // composed bright here and dimmed on its own.
    if (m_bShowReadout) DrawPointerReadoutDimmed(m_tracker.GetTrueRect(), dc);
    ComposeSelectionItems(dc, m_tracker.GetTrueRect());
    DrawShapes(dc);
}

void CSnapcrestDlg::ComposeSelectionItems(HDC dc, const Rect& t) {
    const Rect inner = SelectionInterior(t);
    CopySnapshot(dc, inner);
    m_tracker.Draw(dc);

    // The label follows where the previous composition put the bar.
    DrawSizeLabel(dc, t.left, SizeLabelY(t, m_bBarAbove != 0));

    EnsureToolBarSkin();
    const ToolBarPlacement bar = PlaceToolBar(t, m_nScreenHeight);
    m_bBarAbove = bar.above ? 1 : 0;
    if (m_pToolBars) {
        m_pToolBars->SetPosition(bar.bar.x, bar.bar.y);
        m_pToolBars->SetPanelPosition(bar.panel.x, bar.panel.y);
        // A composition limited to other areas would draw nothing of it.
        const Rect barArea = m_pToolBars->BarRect().United(m_pToolBars->PanelAreaAt(bar.panel.x, bar.panel.y));
        if (RectVisibleOn(dc, barArea)) m_pToolBars->Draw(dc, WorkTarget(dc));
        m_bBarShown = 1;
    }
}

void CSnapcrestDlg::DimBackground(HDC dc) { DrawDimming(dc, BackImage(), m_nScreenWidth, m_nScreenHeight); }

void CSnapcrestDlg::CaptureLabelBackdrop() {
    // The backdrop is the same corner of the image wherever the label goes;
    // the library's translucent drawing of it is captured once.
    if (m_labelBackdrop.Ready()) return;
    m_labelBackdrop.Capture(kLabelWidth, kLabelHeight, [this](HDC target) {
        gdip::Graphics g(target);
        gdip::AlphaAttributes attributes(kDimAlpha);
        gdip::DrawImageRectRect(g, BackImage(), 0, 0, kLabelWidth, kLabelHeight, 0, 0, kLabelWidth, kLabelHeight,
                                &attributes);
    });
}

void CSnapcrestDlg::DrawSizeLabel(HDC dc, int x, int y) {
    // The label leaves the context drawing text white on nothing, whatever
    // it draws: the read-out's lines take that colour in the compositions
    // that follow.
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(255, 255, 255));
    if (dc == m_dcWork.dc()) m_bWorkTextWhite = true;
    // A composition limited to other areas would draw nothing of it.
    if (!RectVisibleOn(dc, SizeLabelBox(x, y).Inflated(3))) return;
    CaptureLabelBackdrop();
    const Rect box = SizeLabelBox(x, y);
    m_labelBackdrop.BlendOnto(WorkTarget(dc), dc, box.left, box.top);
    // Made once per session: a font costs more to make than the label to draw.
    // Its quality is the one the system gives a default font, made explicit:
    // the same text, and cheaper to select on every composition.
    if (!m_hLabelFont)
        m_hLabelFont.reset(
            ::CreateFontA(12, 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE, 0, 0, 0, SystemTextQuality(), 0x20, "仿宋"));
    SelectScope selectFont(dc, m_hLabelFont.get());
    const int length = static_cast<int>(std::strlen(m_szSizeText));
    SIZE extent{};
    ::GetTextExtentPoint32A(dc, m_szSizeText, length, &extent);
    const Point origin = SizeLabelTextOrigin(x, y, extent.cx, extent.cy);
    ::TextOutA(dc, origin.x, origin.y, m_szSizeText, length);
}

BOOL CSnapcrestDlg::OnEraseBkgnd(HDC) {
    // Every paint covers the whole window.
    return TRUE;
}

void CSnapcrestDlg::RepaintAll() {
    if (m_bReferencePaint) {
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
        return;
    }
    // The window shows the composed picture again where something was drawn
    // straight onto it, and what changed since, if it is to be composed.
    // (Marked first: until the repaint the window still shows what was
    // drawn onto it, and the read-out reads it.)
    if (m_bFullRedraw) InvalidateChanges();
    if (m_bDrawnOnWindow) {
        AskRepaint(m_rgnDrawnOnWindow.get());
        ::SetRectRgn(m_rgnDrawnOnWindow.get(), 0, 0, 0, 0);
        m_bDrawnOnWindow = false;
    }
}

COLORREF CSnapcrestDlg::ShownColourAt(Point p) const {
    // Where nothing was drawn straight onto the window it shows the last
    // picture composed (or the snapshot, before the first): read from memory
    // rather than asking the window.
    const bool onScreen = p.x >= 0 && p.y >= 0 && p.x < m_nScreenWidth && p.y < m_nScreenHeight;
    const PixelRows shown = m_dcWork.dc() ? PixelRows::Of(m_dcWork.bits(), m_nScreenWidth, 4) : m_snapshotPixels;
    if (onScreen && shown && !m_pTextBoxRect && !(m_bDrawnOnWindow && ::PtInRegion(m_rgnDrawnOnWindow.get(), p.x, p.y))) {
        ::GdiFlush();
        const uint32_t bgr = shown.Colour(p.x, p.y);
        return RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
    }
    WindowDC window(m_hWnd);
    return ::GetPixel(window.get(), p.x, p.y);
}

void CSnapcrestDlg::OnCancel() {
    if (m_bHasSelection) {
        m_bHasSelection = 0;
        m_bFirstDrag = 0;
        m_tracker.m_rect = Rect{-1, -1, -1, -1};
        RepaintAll();
        return;
    }
    CDialog::OnCancel();
}
