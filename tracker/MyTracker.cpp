#include "tracker/MyTracker.h"

#include <mutex>

#include "framework/Win32Rect.h"
#include "platform/GdiHandles.h"

namespace {

// One set per process, made by the first tracker. The holder is never
// destroyed: the application releases the GDI objects at exit through
// ReleaseTrackerSharedResources, in whatever order that runs relative to
// static destructors.
struct Shared {
    UniqueBrush hatch;
    UniquePen dotted;
    UniquePen solid;
    COLORREF penColour = 0;
    // Indexed by normalised hit code; entry 9 is the gap between the handles
    // of a hatched border.
    HCURSOR cursors[10] = {};
    int handleSize = 4;
    int setUps = 0;
};

std::mutex g_sharedLock;
bool g_sharedMade = false;

Shared& TheShared() {
    static Shared* shared = new Shared;
    return *shared;
}

HCURSOR LoadOwnCursor(UINT id) {
    return ::LoadCursorW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
}

void MakePens(Shared& s, COLORREF color) {
    // A pen that cannot be made stays null; drawing with it then does nothing.
    s.dotted.reset(::CreatePen(PS_DOT, 0, color));
    s.solid.reset(::CreatePen(PS_SOLID, 0, color));
    s.penColour = color;
}

void EnsureShared() {
    std::lock_guard<std::mutex> lock(g_sharedLock);
    if (g_sharedMade) return;
    Shared& s = TheShared();

    static const WORD kHatchRows[8] = {0x1111, 0x2222, 0x4444, 0x8888, 0x1111, 0x2222, 0x4444, 0x8888};
    UniqueBitmap pattern(::CreateBitmap(8, 8, 1, 1, kHatchRows));
    if (pattern) s.hatch.reset(::CreatePatternBrush(pattern.get()));
    // The brush keeps its own copy of the pattern; the bitmap goes here.

    MakePens(s, RGB(0, 0, 0));

    // These ids are not in the program's resources; the entries stay null
    // until the session calls SetCursors.
    s.cursors[0] = s.cursors[2] = LoadOwnCursor(30983);
    s.cursors[1] = s.cursors[3] = LoadOwnCursor(30984);
    s.cursors[4] = s.cursors[6] = LoadOwnCursor(30985);
    s.cursors[5] = s.cursors[7] = LoadOwnCursor(30986);
    s.cursors[8] = LoadOwnCursor(30987);
    s.cursors[9] = LoadOwnCursor(30988);

    s.handleSize = static_cast<int>(::GetProfileIntA("windows", "oleinplaceborderwidth", 4));
    ++s.setUps;
    g_sharedMade = true;
}

}  // namespace

void ReleaseTrackerSharedResources() {
    std::lock_guard<std::mutex> lock(g_sharedLock);
    Shared& s = TheShared();
    s.hatch.Release();
    s.dotted.Release();
    s.solid.Release();
}

TrackerSharedInfo GetTrackerSharedInfo() {
    std::lock_guard<std::mutex> lock(g_sharedLock);
    const Shared& s = TheShared();
    TrackerSharedInfo info{};
    info.hatchBrush = s.hatch.get();
    info.dottedPen = s.dotted.get();
    info.solidPen = s.solid.get();
    for (int i = 0; i < 10; ++i) info.cursors[i] = s.cursors[i];
    info.handleSize = s.handleSize;
    info.setUps = s.setUps;
    return info;
}

CMyTracker::CMyTracker() {
    EnsureShared();
    m_nHandleSize = TheShared().handleSize;
    m_sizeMin.cx = m_sizeMin.cy = 2 * m_nHandleSize;
}

CMyTracker::~CMyTracker() = default;

void CMyTracker::SetColor(COLORREF color) {
    m_crLine = color;
    MakePens(TheShared(), color);
}

void CMyTracker::SetCursors(UINT vertical, UINT horizontal, UINT diagDown, UINT diagUp, UINT move) {
    HCURSOR* table = TheShared().cursors;
    table[4] = table[6] = LoadOwnCursor(vertical);
    table[5] = table[7] = LoadOwnCursor(horizontal);
    table[0] = table[2] = LoadOwnCursor(diagDown);
    table[1] = table[3] = LoadOwnCursor(diagUp);
    table[8] = LoadOwnCursor(move);
}

void CMyTracker::DrawTrackerRect(const Rect*, HWND, HDC, ITrackerOwner* window) {
    if (window) window->RepaintAll();
}

void CMyTracker::AdjustRect(int hit, Rect* rect) {
    trackgeo::AdjustRect(hit, rect, m_sizeMin, m_bAllowInvert != FALSE);
}

void CMyTracker::OnChangedRect(const Rect&) {}

unsigned CMyTracker::GetHandleMask() const { return trackgeo::HandleMask(m_rect, m_nHandleSize); }

int CMyTracker::GetHandleSize(const Rect* r) const {
    return trackgeo::HandleSize(m_nStyle, m_nHandleSize, r ? *r : m_rect);
}

int CMyTracker::NormalizeHit(int hit) const { return trackgeo::NormalizeHit(m_rect, hit); }

Rect CMyTracker::GetTrueRect() const { return trackgeo::TrueRect(m_nStyle, m_rect, GetHandleSize(&m_rect)); }

std::vector<Rect> CMyTracker::DrawnArea() const { return trackgeo::DrawnArea(m_nStyle, m_rect, CurrentLayout()); }

std::optional<trackgeo::DrawnPixelSet> CMyTracker::DrawnPixels() const {
    // The outline has the colour another tracker last gave the shared pens;
    // only in this tracker's own colour is it one with the handles.
    const Shared& shared = TheShared();
    if (shared.penColour != m_crLine || !shared.solid) return std::nullopt;
    return trackgeo::DrawnPixels(m_nStyle, m_rect, CurrentLayout());
}

Rect CMyTracker::GetHandleRect(int hit) const {
    return trackgeo::HandleRect(m_nStyle, m_rect, GetHandleSize(), hit);
}

trackgeo::Layout CMyTracker::CurrentLayout() const {
    trackgeo::Layout l;
    l.trueRect = GetTrueRect();
    l.mask = GetHandleMask();
    for (int i = 0; i < 8; ++i) l.handles[i] = GetHandleRect(i);
    return l;
}

int CMyTracker::HitTestHandles(Point p) const {
    return trackgeo::HitTestHandles(m_nStyle, m_rect, CurrentLayout(), p);
}

int CMyTracker::HitTest(Point p) const { return trackgeo::HitTest(m_nStyle, m_rect, CurrentLayout(), p); }

void CMyTracker::GetMovingEdges(int hit, int** px, int** py, int* gx, int* gy) {
    trackgeo::MovingEdges e = trackgeo::GetMovingEdges(m_rect, hit);
    if (px) *px = trackgeo::EdgeOf(m_rect, e.x);
    if (py) *py = trackgeo::EdgeOf(m_rect, e.y);
    if (gx) *gx = e.grabX;
    if (gy) *gy = e.grabY;
}

BOOL CMyTracker::UpdateCursor(HWND window, UINT hitTestCode) {
    if (hitTestCode != HTCLIENT) return FALSE;
    POINT pt{};
    ::GetCursorPos(&pt);
    ::ScreenToClient(window, &pt);
    const Point p{pt.x, pt.y};
    if (m_pOwner) m_pOwner->SetOffHandle(TRUE);
    int c = HitTestHandles(p);
    if (c < 0) return FALSE;
    if (c < HitMiddle && m_pOwner) m_pOwner->SetOffHandle(FALSE);
    c = NormalizeHit(c);
    if (c == HitMiddle && !m_rect.Contains(p) && (m_nStyle & StyleHatchedBorder)) c = 9;
    // A shape never loaded is passed on as null, which hides the pointer,
    // as the platform does for a null cursor.
    ::SetCursor(TheShared().cursors[c]);
    return TRUE;
}

BOOL CMyTracker::Track(ITrackerOwner* window, Point p, BOOL allowInvert, HWND clipWindow) {
    const int hit = HitTestHandles(p);
    if (hit < 0) return FALSE;
    m_bAllowInvert = allowInvert;
    if (::GetCapture() != nullptr) return FALSE;
    HWND hwnd = window ? window->TrackerWindow() : nullptr;
    if (!hwnd) return FALSE;

    ::SetCapture(hwnd);
    ::UpdateWindow(hwnd);
    if (clipWindow) ::UpdateWindow(clipWindow);
    const Rect saved = m_rect;
    const trackgeo::Drag drag = trackgeo::BeginDrag(m_rect, hit, p);
    // Only handed to DrawTrackerRect, for subclasses that draw themselves.
    HWND dcWindow = clipWindow ? clipWindow : hwnd;
    HDC dc = clipWindow ? ::GetDCEx(clipWindow, nullptr, DCX_CACHE) : ::GetDC(hwnd);

    bool moved = false;
    MSG msg{};
    for (;;) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The program is being asked to quit: give the request back to the
            // outer loop instead of swallowing it, and abandon the drag.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            m_rect = saved;
            break;
        }
        if (got == -1) {
            m_rect = saved;
            break;
        }
        // Someone else took the capture: the drag is over; the message that
        // showed it is not ours to dispatch.
        if (::GetCapture() != hwnd) break;

        // The owner's own handlers see every message first, with m_rect as it
        // was before this message's step.
        ::DispatchMessageW(&msg);

        bool done = false;
        switch (msg.message) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP: {
            const Rect old = m_rect;
            const Point at{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
            m_rect = trackgeo::MovePointer(drag, m_rect, at);
            AdjustRect(hit, &m_rect);
            const bool isFinal = msg.message == WM_LBUTTONUP;
            if (m_rect != old || isFinal) {
                if (moved) DrawTrackerRect(&old, clipWindow, dc, window);
                OnChangedRect(old);
                if (!isFinal) moved = true;
                if (isFinal) done = true;
            }
            if (!done && m_rect != old) DrawTrackerRect(&m_rect, clipWindow, dc, window);
            break;
        }
        case WM_KEYDOWN:
            if (msg.wParam == VK_ESCAPE) {
                m_rect = saved;
                done = true;
            }
            break;
        case WM_RBUTTONDOWN:
            m_rect = saved;
            done = true;
            break;
        default:
            break;
        }
        if (done) break;
    }

    if (dc) ::ReleaseDC(dcWindow, dc);
    ::ReleaseCapture();
    if (!moved) m_rect = saved;
    return m_rect != saved;
}

void CMyTracker::Draw(HDC dc) const {
    const int savedState = ::SaveDC(dc);
    ::SetMapMode(dc, MM_TEXT);
    ::SetViewportOrgEx(dc, 0, 0, nullptr);
    ::SetWindowOrgEx(dc, 0, 0, nullptr);

    const Shared& shared = TheShared();
    Rect r = m_rect.Normalized();
    HGDIOBJ oldPen = nullptr;
    HGDIOBJ oldBrush = nullptr;

    if (m_nStyle & (StyleSolidLine | StyleDottedLine)) {
        HPEN pen = (m_nStyle & StyleDottedLine) ? shared.dotted.get() : shared.solid.get();
        if (pen) {
            oldPen = ::SelectObject(dc, pen);
            oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
            const int oldMix = ::SetROP2(dc, R2_COPYPEN);
            // The outline sits one pixel outside the rectangle.
            r = r.Inflated(1);
            ::Rectangle(dc, r.left, r.top, r.right, r.bottom);
            ::SetROP2(dc, oldMix);
        } else {
            r = r.Inflated(1);
        }
    }

    HBRUSH hatch = shared.hatch.get();
    if ((m_nStyle & (StyleHatchInside | StyleHatchedBorder)) && hatch) ::UnrealizeObject(hatch);

    if ((m_nStyle & StyleHatchInside) && hatch) {
        HGDIOBJ prevPen = ::SelectObject(dc, ::GetStockObject(NULL_PEN));
        HGDIOBJ prevBrush = ::SelectObject(dc, hatch);
        if (!oldPen) oldPen = prevPen;
        if (!oldBrush) oldBrush = prevBrush;
        ::SetBkMode(dc, TRANSPARENT);
        const int oldMix = ::SetROP2(dc, R2_MASKNOTPEN);
        ::Rectangle(dc, r.left + 1, r.top + 1, r.right, r.bottom);
        ::SetROP2(dc, oldMix);
    }

    if ((m_nStyle & StyleHatchedBorder) && hatch) {
        HGDIOBJ prevBrush = ::SelectObject(dc, hatch);
        if (!oldBrush) oldBrush = prevBrush;
        ::SetBkMode(dc, OPAQUE);
        const Rect q = GetTrueRect();
        const DWORD rop = 0x000F0001;
        ::PatBlt(dc, q.left, q.top, q.right - q.left, r.top - q.top, rop);
        ::PatBlt(dc, q.left, r.bottom, q.right - q.left, q.bottom - r.bottom, rop);
        ::PatBlt(dc, q.left, r.top, r.left - q.left, r.bottom - r.top, rop);
        ::PatBlt(dc, r.right, r.top, q.right - r.right, r.bottom - r.top, rop);
    }

    if (m_nStyle & (StyleHandlesInside | StyleHandlesOutside)) {
        const unsigned mask = GetHandleMask();
        ::SetBkColor(dc, m_crLine);
        for (int i = 0; i < 8; ++i) {
            if (!(mask & (1u << i))) continue;
            const RECT square = ToRECT(GetHandleRect(i));
            ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &square, nullptr, 0, nullptr);
        }
    }

    if (oldPen) ::SelectObject(dc, oldPen);
    if (oldBrush) ::SelectObject(dc, oldBrush);
    if (savedState) ::RestoreDC(dc, -1);
}
