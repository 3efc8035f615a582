// Mouse input of the capture session: the first selection from the press
// point, tracked moves and resizes, the pointer shape per zone, the double
// click that copies the selection and the right-button release that ends it.
#include "capture/ScreenGrab.h"
#include "capture/SnapcrestDlg.h"

namespace {
// While the first selection is dragged the tracker shows the active colour.
constexpr COLORREF kTrackerActiveColor = 0x00FF640A;
constexpr int kFirstSelectionSize = 4;

Point ToPoint(POINT p) { return Point{p.x, p.y}; }
}  // namespace

void CSnapcrestDlg::OnLButtonDown(UINT flags, POINT point) {
    // The tool bar sees the press first, once it exists.
    const Point p = ToPoint(point);
    const int hit = m_tracker.HitTest(p);
    m_bButtonDown = 1;
    if (hit == CMyTracker::HitNothing) {
        // A press beside an existing selection neither moves nor clears it.
        if (!m_bHasSelection) {
            m_bFirstDrag = 1;
            m_bHasSelection = 1;
            m_ptAnchor = p;
            m_tracker.SetColor(kTrackerActiveColor);
            m_tracker.m_rect = Rect{p.x, p.y, p.x + kFirstSelectionSize, p.y + kFirstSelectionSize};
            m_bShowReadout = 1;
            RepaintAll();
        }
    } else {
        m_bShowReadout = 1;
        if (m_bHasSelection) {
            if (IsToolChosen()) {
                // A shape starts here once shapes exist.
            } else {
                const Rect t = m_tracker.GetTrueRect();
                if (m_bOffHandle) {
                    // Keeps the moved selection's true rectangle on the screen.
                    RECT confine{p.x - t.left, p.y - t.top, m_nScreenWidth - t.right + p.x,
                                 m_nScreenHeight - t.bottom + p.y};
                    ::ClipCursor(&confine);
                }
                m_tracker.Track(this, p, TRUE, nullptr);
                // However the tracking ended, the release handling runs once more.
                ::SendMessageA(m_hWnd, WM_LBUTTONUP, 0, 0);
            }
        }
    }
    CDialog::OnLButtonDown(flags, point);
}

void CSnapcrestDlg::OnMouseMove(UINT flags, POINT point) {
    // The tool bar sees the move first and its hover state decides the
    // pointer shape over it, once it exists.
    if (m_bButtonDown) m_bFullRedraw = 1;
    if (IsToolChosen()) {
        // The live preview of the current shape goes here once shapes exist.
    } else if (m_bFirstDrag) {
        // Stored as it comes: dragging up or left of the anchor inverts it.
        m_tracker.m_rect = Rect{m_ptAnchor.x + kFirstSelectionSize, m_ptAnchor.y + kFirstSelectionSize, point.x,
                                point.y};
        RepaintAll();
    }
    CDialog::OnMouseMove(flags, point);
}

void CSnapcrestDlg::OnLButtonUp(UINT flags, POINT point) {
    // A click on a tool bar button takes effect here first, once it exists.
    m_bUpSeen = 1;
    m_bShowReadout = 0;
    m_bFirstDrag = 0;
    m_bButtonDown = 0;
    m_bFullRedraw = 1;
    RepaintAll();
    ::ClipCursor(nullptr);
    if (IsToolChosen()) {
        // Finishing a shape and the text box steps go here once they exist.
    }
    CDialog::OnLButtonUp(flags, point);
}

void CSnapcrestDlg::OnLButtonDblClk(UINT flags, POINT point) {
    if (m_tracker.HitTest(ToPoint(point)) != CMyTracker::HitMiddle) {
        CDialog::OnLButtonDblClk(flags, point);
        return;
    }
    m_nScreenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    m_nScreenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    if (m_tracker.m_rect.IsEmpty()) return;
    // What the window shows is what is taken, so the last composition must be
    // on the screen first.
    ::UpdateWindow(m_hWnd);
    GrabSelectionToClipboard(m_tracker.m_rect, m_hWnd, m_nScreenWidth, m_nScreenHeight);
    EndSessionAndQuit();
    CDialog::OnLButtonDblClk(flags, point);
}

void CSnapcrestDlg::OnRButtonUp(UINT flags, POINT point) {
    EndSessionAndQuit();
    CDialog::OnRButtonUp(flags, point);
}

BOOL CSnapcrestDlg::OnSetCursor(HWND wnd, UINT hitTest, UINT) {
    // Until the first release the session's own pointer shows everywhere,
    // even over the new selection's handles.
    if (!m_bUpSeen) {
        ::SetCursor(m_hCursor);
        return TRUE;
    }
    if (wnd == m_hWnd && m_tracker.UpdateCursor(m_hWnd, hitTest) && !m_bFirstDrag && m_bHasSelection) return TRUE;
    if (!m_bOverToolBar) ::SetCursor(m_hCursor);
    return TRUE;
}
