// Mouse input of the capture session: the tool bar sees every event first;
// then the first selection from the press point, tracked moves and resizes,
// shapes while a tool is chosen, the pointer shape per zone, the double click
// that copies the selection and the right-button release that ends it.
#include "capture/ScreenGrab.h"
#include "capture/SnapcrestDlg.h"

namespace {
// While the first selection is dragged the tracker shows the active colour.
constexpr COLORREF kTrackerActiveColor = 0x00FF640A;
constexpr int kFirstSelectionSize = 4;

Point ToPoint(POINT p) { return Point{p.x, p.y}; }
}  // namespace

void CSnapcrestDlg::OnLButtonDown(UINT flags, POINT point) {
    const Point p = ToPoint(point);
    m_ptLastPointer = p;
    if (BarAnswers()) m_pToolBars->OnLButtonDown(flags, p);
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
                StartShape(p);
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
    const Point p = ToPoint(point);
    // The platform also sends moves of its own (a window appearing under
    // the pointer, for one); a "move" to where the pointer already was moves
    // nothing, and must not turn a press into a selection.
    if (p == m_ptLastPointer) {
        CDialog::OnMouseMove(flags, point);
        return;
    }
    m_ptLastPointer = p;
    if (BarAnswers()) m_pToolBars->OnMouseMove(flags, p);
    // Over the bar (or the panel beside it) the bar's hover step decides the
    // pointer's shape; leaving it gives the session's own back.
    const bool overBar =
        BarAnswers() && (m_pToolBars->BarRect().Contains(p) ||
                         (m_pToolBars->m_bPanelShown && m_pToolBars->PanelArea().Contains(p)));
    if (overBar) {
        m_bOverToolBar = 1;
    } else if (m_bOverToolBar) {
        ::SetCursor(m_hCursor);
        m_bOverToolBar = 0;
    }
    if (m_bButtonDown) RequestRecompose();
    if (IsToolChosen()) {
        UpdateShape(p);
    } else if (m_bFirstDrag) {
        // Stored as it comes: dragging up or left of the anchor inverts it.
        m_tracker.m_rect = Rect{m_ptAnchor.x + kFirstSelectionSize, m_ptAnchor.y + kFirstSelectionSize, p.x, p.y};
        RepaintAll();
    }
    CDialog::OnMouseMove(flags, point);
}

void CSnapcrestDlg::OnLButtonUp(UINT flags, POINT point) {
    const Point p = ToPoint(point);
    // A click on a tool bar button takes effect here, before the steps below,
    // which then see the tool state the click set.
    if (BarAnswers()) m_pToolBars->OnLButtonUp(flags, p);
    // The first selection ends where the button is let go, even when the
    // last move seen was not there: the platform may hand on the pointer's
    // positions late, or merge them.
    if (m_bFirstDrag && !IsToolChosen() && p != m_ptLastPointer) {
        m_ptLastPointer = p;
        m_tracker.m_rect = Rect{m_ptAnchor.x + kFirstSelectionSize, m_ptAnchor.y + kFirstSelectionSize, p.x, p.y};
    }
    m_bUpSeen = 1;
    m_bShowReadout = 0;
    m_bFirstDrag = 0;
    m_bButtonDown = 0;
    m_dragWindowDC.reset();
    RequestRecompose();
    RepaintAll();
    ::ClipCursor(nullptr);
    if (IsToolChosen()) FinishShape(p);
    CDialog::OnLButtonUp(flags, point);
}

void CSnapcrestDlg::OnInputTakenAway() {
    // Another window (a capture opened above this one, for one) took the
    // input in the middle of the first drag: the release goes there, so the
    // selection ends here, where the pointer last was.
    // Sent, so that the release is handled as a whole message of its own.
    if (m_bFirstDrag && m_bButtonDown)
        ::SendMessageA(m_hWnd, WM_LBUTTONUP, 0,
                       MAKELPARAM(static_cast<WORD>(m_ptLastPointer.x), static_cast<WORD>(m_ptLastPointer.y)));
}

void CSnapcrestDlg::OnLButtonDblClk(UINT flags, POINT point) {
    if (m_tracker.HitTest(ToPoint(point)) != CMyTracker::HitMiddle) {
        CDialog::OnLButtonDblClk(flags, point);
        return;
    }
    m_nScreenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    m_nScreenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    // A selection dragged up or to the left copies like the same one dragged
    // down and to the right.
    const Rect selection = m_tracker.m_rect.Normalized();
    if (selection.IsEmpty()) return;
    // What the window shows is what is taken.
    PutPictureOnScreen();
    // With the clipboard held by another program the capture stays open, so
    // nothing is lost and the user can try again.
    if (GrabSelectionToClipboard(selection, m_hWnd, m_nScreenWidth, m_nScreenHeight) != GrabResult::ClipboardBusy)
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
    // Inside the selection with a drawing tool chosen, the pointer message
    // this notice comes with sets the standard arrow next. Another shape set
    // here first would change the pointer twice on every move, each change a
    // request to the server and to the display, for the same arrow shown.
    if (wnd == m_hWnd && IsToolChosen() && m_bHasSelection) {
        POINT p{};
        if (::GetCursorPos(&p) && m_tracker.GetTrueRect().Contains(Point{p.x, p.y})) return TRUE;
    }
    if (wnd == m_hWnd && m_tracker.UpdateCursor(m_hWnd, hitTest) && !m_bFirstDrag && m_bHasSelection) return TRUE;
    if (!m_bOverToolBar) ::SetCursor(m_hCursor);
    return TRUE;
}
