// Painting of the capture session: the picture is composed on the work surface
// only when m_bFullRedraw asks for it, and every paint copies the work surface
// to the window in one block transfer.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "capture/PaintLayout.h"
#include "capture/SnapcrestDlg.h"
#include "platform/StartupClock.h"

namespace {
constexpr float kDimAlpha = 0.7f;

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}
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

    const double start = NowMs();
    double composeMs = -1;
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    if (m_bFullRedraw) {
        m_bFullRedraw = 0;
        if (m_bReferencePaint)
            ComposeReference(m_dcWork.dc());
        else
            ComposeFast(m_dcWork.dc());
        composeMs = NowMs() - start;
    }
    // Clipped by the platform to the invalid region.
    ::BitBlt(dc, 0, 0, m_nScreenWidth, m_nScreenHeight, m_dcWork.dc(), 0, 0, SRCCOPY);
    // Text being typed is drawn here, over the copied picture, once text entry exists.
    ::EndPaint(m_hWnd, &ps);
    if (!m_bFirstPaintDone) {
        m_bFirstPaintDone = true;
        LogFirstPaint();
    }
    if (m_bLogPaints && composeMs >= 0) {
        ::GdiFlush();
        RecordPaintTimes(composeMs, NowMs() - start);
    }
}

void CSnapcrestDlg::LogFirstPaint() {
    // For the start-up benchmark: time from the program's start-up to the
    // first picture handed to the window.
    const char* path = std::getenv("SNAPCREST_STARTUP_LOG");
    if (!path) return;
    ::GdiFlush();
    const double ms = MsSinceProgramStart();
    if (FILE* f = std::fopen(path, "a")) {
        std::fprintf(f, "%.3f\n", ms);
        std::fclose(f);
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
    }
    // Annotation shapes are drawn here, oldest first, once shapes exist.
}

void CSnapcrestDlg::ComposeFast(HDC dc) {
    if (!m_bHasSelection) {
        ::BitBlt(dc, 0, 0, m_nScreenWidth, m_nScreenHeight, m_dcSnapshot.dc(), 0, 0, SRCCOPY);
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
    // The read-out box is drawn before the dimming, so once it draws pixels its
    // own area is composed bright here and dimmed on its own.
    if (m_bShowReadout) DrawPointerReadout(m_tracker.GetTrueRect(), dc);
    ComposeSelectionItems(dc, m_tracker.GetTrueRect());
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
    // The tool bar is laid out at bar.bar / bar.panel and drawn here once it exists.
}

void CSnapcrestDlg::DrawPointerReadout(const Rect& t, HDC) {
    // The box next to the pointer is drawn here once the read-out exists; the
    // size label's text comes from the same step.
    FormatSizeText(t, m_szSizeText, sizeof m_szSizeText);
    m_nReadoutLeft = t.left;
    m_nReadoutTop = t.top;
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
