// Painting of the capture session: the picture is composed on the work surface
// only when m_bFullRedraw asks for it, and every paint copies the work surface
// to the window in one block transfer.
#include <cstring>

#include "capture/PaintLayout.h"
#include "capture/SnapcrestDlg.h"

namespace {
constexpr float kDimAlpha = 0.7f;
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
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    if (m_bFullRedraw) {
        m_bFullRedraw = 0;
        HDC work = m_dcWork.dc();
        const RECT& area = ps.rcPaint;
        partial = m_bHoverOnly &&
                  !(area.left <= 0 && area.top <= 0 && area.right >= m_nScreenWidth && area.bottom >= m_nScreenHeight);
        // Only a hover frame changed: what lies outside the invalid area
        // would be composed exactly as the work surface already holds it.
        if (partial) ::IntersectClipRect(work, area.left, area.top, area.right, area.bottom);
        if (m_bReferencePaint)
            ComposeReference(work);
        else
            ComposeFast(work);
        if (partial)
            ::SelectClipRgn(work, nullptr);
        else
            m_bPicturePending = 0;
        m_bHoverOnly = 0;
        composeMs = PaintTiming::Now() - start;
    }
    // Clipped by the platform to the invalid region.
    ::BitBlt(dc, 0, 0, m_nScreenWidth, m_nScreenHeight, m_dcWork.dc(), 0, 0, SRCCOPY);
    // Text being typed is drawn here, over the copied picture, once text entry exists.
    ::EndPaint(m_hWnd, &ps);
    m_timing.PaintDone(start, composeMs, partial);
}

void CSnapcrestDlg::RequestRecompose() {
    m_bFullRedraw = 1;
    m_bPicturePending = 1;
    m_bHoverOnly = 0;
}

void CSnapcrestDlg::OnHoverChanged() {
    // Several hover changes may come before one paint; any other change
    // waiting to be shown makes it a whole composition.
    m_bHoverOnly = !m_bPicturePending && (m_bHoverOnly || !m_bFullRedraw);
    m_bFullRedraw = 1;
    if (!m_pToolBars) return;
    const Rect bar = m_pToolBars->BarRect();
    const RECT barRect{bar.left, bar.top, bar.right, bar.bottom};
    ::InvalidateRect(m_hWnd, &barRect, TRUE);
    if (m_pToolBars->m_bPanelShown) {
        const Rect panel = m_pToolBars->PanelArea();
        const RECT panelRect{panel.left, panel.top, panel.right, panel.bottom};
        ::InvalidateRect(m_hWnd, &panelRect, TRUE);
    }
}

void CSnapcrestDlg::ComposeReference(HDC dc) {
    ::BitBlt(dc, 0, 0, m_nScreenWidth, m_nScreenHeight, m_dcSnapshot.dc(), 0, 0, SRCCOPY);
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
        ::BitBlt(dc, 0, 0, m_nScreenWidth, m_nScreenHeight, m_dcSnapshot.dc(), 0, 0, SRCCOPY);
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
    ::BitBlt(dc, inner.left, inner.top, inner.Width(), inner.Height(), m_dcSnapshot.dc(), inner.left, inner.top,
             SRCCOPY);
    m_tracker.Draw(dc);

    // The label follows where the previous composition put the bar.
    DrawSizeLabel(dc, t.left, SizeLabelY(t, m_bBarAbove != 0));

    const ToolBarPlacement bar = PlaceToolBar(t, m_nScreenHeight);
    m_bBarAbove = bar.above ? 1 : 0;
    if (m_pToolBars) {
        m_pToolBars->SetPosition(bar.bar.x, bar.bar.y);
        m_pToolBars->SetPanelPosition(bar.panel.x, bar.panel.y);
        m_pToolBars->Draw(dc);
        m_bBarShown = 1;
    }
}

void CSnapcrestDlg::DimBackground(HDC dc) {
    gdip::Graphics g(dc);
    gdip::AlphaAttributes attributes(kDimAlpha);
    const int w = static_cast<int>(m_pBackImage.Width());
    const int h = static_cast<int>(m_pBackImage.Height());
    gdip::DrawImageRectRect(g, m_pBackImage, 0, 0, m_nScreenWidth, m_nScreenHeight, 0, 0, w, h, &attributes);
}

void CSnapcrestDlg::DrawSizeLabel(HDC dc, int x, int y) {
    {
        gdip::Graphics g(dc);
        gdip::AlphaAttributes attributes(kDimAlpha);
        const Rect box = SizeLabelBox(x, y);
        gdip::DrawImageRectRect(g, m_pBackImage, box.left, box.top, kLabelWidth, kLabelHeight, 0, 0, kLabelWidth,
                                kLabelHeight, &attributes);
    }
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(255, 255, 255));
    UniqueFont font(::CreateFontA(12, 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE, 0, 0, 0, 0, 0x20, "仿宋"));
    SelectScope selectFont(dc, font.get());
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
    // Whatever changed is not on the work surface yet.
    m_bPicturePending = 1;
    m_bHoverOnly = 0;
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    UniqueRegion region(::CreateRectRgnIndirect(&window));
    UniqueRegion empty(::CreateRectRgn(0, 0, 0, 0));
    ::CombineRgn(m_rgnRepaint.get(), region.get(), empty.get(), RGN_DIFF);
    ::InvalidateRgn(m_hWnd, region.get(), TRUE);
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
