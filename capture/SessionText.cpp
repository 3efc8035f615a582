// Typed text in the capture session: the box that opens where the text tool's
// click is released, the commit that turns the typed text into the current
// text shape, and the step 100 ms later that moves the committed text from
// its parking place to the box's corner.
#include <algorithm>

#include "capture/SnapcrestDlg.h"
#include "framework/Win32Rect.h"
#include "resources/Messages.h"

namespace {
// The typing rectangle's right and bottom edges lie this far inside the
// selection; the drawn text's layout box ends a few pixels higher still.
constexpr int kBoxMargin = 12;
constexpr int kLayoutBottomMargin = 17;
// The typing rectangle starts this far above the click, so the typed text's
// first line sits about where the drawn text's does.
constexpr int kHostRaise = 5;
constexpr LONG kTypingHeightTwips = 300;
// A committed text waits here, off the screen, until it is placed.
constexpr Point kParking{-500, -100};
constexpr RECT kHostParking{-1000, -1000, 10, 10};
constexpr UINT kPlaceDelayMs = 100;
// Timers may fire a tick early; a text due this close is placed with them.
constexpr ULONGLONG kTimerSlackMs = 15;

// Line breaks come out of the text entry as single CRs; the shape keeps CR LF.
std::string WithLineFeeds(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (char c : text) {
        out += c;
        if (c == '\r') out += '\n';
    }
    return out;
}
}  // namespace

CNoWndEdit& CSnapcrestDlg::TextEntry() {
    if (!m_pTextEntry) m_pTextEntry = std::make_unique<CNoWndEdit>();
    return *m_pTextEntry;
}

void CSnapcrestDlg::OpenTextBox(Point p) {
    // With no shape to hold its text and size its layout there is no box;
    // the text tool stays chosen for the next click.
    if (!m_pCurShape || !m_pToolBars) return;
    ToolState& tools = *m_pToolBars;
    const Rect s = m_tracker.GetTrueRect();
    // No tool is active while the box is open; the drawing mode stays on.
    tools.m_bText = 0;
    CNoWndEdit& entry = TextEntry();
    entry.SetFontColor(tools.m_crColor);
    entry.SetEditRect(m_hWnd, RECT{p.x, p.y - kHostRaise, s.right - kBoxMargin, s.bottom - kBoxMargin});
    m_pTextBoxRect = std::make_unique<Rect>(Rect{p.x, p.y, s.right - kBoxMargin, s.bottom - kBoxMargin});
    m_pCurShape->m_fTextWidth = static_cast<float>(s.right - p.x - kBoxMargin);
    m_pCurShape->m_fTextHeight = static_cast<float>(s.bottom - p.y - kLayoutBottomMargin);
    entry.SetVisible(TRUE);
    entry.Activate();
    entry.SetMultiLine(TRUE);
    entry.SetFontHeight(kTypingHeightTwips, 0);
    m_ptTextOrigin = p;
    m_bTextBoxOpen = 1;
}

void CSnapcrestDlg::CloseTextEntry() {
    if (m_pTextEntry) {
        // The host is parked before it hides, so the box it leaves is
        // repainted here.
        if (m_pTextBoxRect) {
            const Rect box{m_pTextBoxRect->left, m_pTextBoxRect->top - kHostRaise, m_pTextBoxRect->right,
                           m_pTextBoxRect->bottom};
            AskRepaint(RectRegion(box).get());
        }
        m_pTextEntry->SetEditRect(m_hWnd, kHostParking);
        m_pTextEntry->SetText("");
        m_pTextEntry->SetVisible(FALSE);
        m_pTextEntry->Deactivate();
    }
    m_pTextBoxRect.reset();
}

void CSnapcrestDlg::CommitText() {
    // No box was ever opened: nothing can have been typed.
    if (!m_pTextEntry) return;
    const std::string typed = m_pTextEntry->GetText();
    if (typed.empty() || !m_pCurShape) {
        CloseTextEntry();
        return;
    }
    // The whole text is kept, however long.
    m_pCurShape->m_ptStart = kParking;
    CloseTextEntry();
    m_pCurShape->m_strText = WithLineFeeds(typed);
    if (m_pToolBars) m_pToolBars->m_bText = 1;
    // The move to the box's corner is done by the window's own thread, so it
    // can never reach a shape that undo took away in the meantime.
    const bool timerRunning = !m_pendingText.empty();
    m_pendingText.push_back(PendingText{m_pCurShape, m_ptTextOrigin, ::GetTickCount64() + kPlaceDelayMs});
    if (!timerRunning) ::SetTimer(m_hWnd, kTimerPlaceText, kPlaceDelayMs, nullptr);
    // The repaint comes last, once everything it is to show is set.
    RequestRecompose();
    RepaintAll();
}

void CSnapcrestDlg::OnTimer(UINT_PTR id) {
    if (id != kTimerPlaceText) {
        CDialog::OnTimer(id);
        return;
    }
    ::KillTimer(m_hWnd, kTimerPlaceText);
    const ULONGLONG now = ::GetTickCount64();
    // The oldest is due whenever the timer fires; later ones when their time came.
    size_t placed = 0;
    while (placed < m_pendingText.size() && (placed == 0 || m_pendingText[placed].due <= now + kTimerSlackMs)) {
        m_pendingText[placed].shape->m_ptStart = m_pendingText[placed].origin;
        ++placed;
    }
    m_pendingText.erase(m_pendingText.begin(), m_pendingText.begin() + static_cast<std::ptrdiff_t>(placed));
    if (!m_pendingText.empty()) {
        const ULONGLONG due = m_pendingText.front().due;
        ::SetTimer(m_hWnd, kTimerPlaceText, due > now ? static_cast<UINT>(due - now) : 1, nullptr);
    }
    if (placed) {
        RequestRecompose();
        RepaintAll();
    }
}

void CSnapcrestDlg::PlaceCommittedText() {
    // The picture is about to be taken: text committed a moment ago belongs
    // in it, so it is placed now rather than left parked off the screen.
    if (m_pendingText.empty()) return;
    ::KillTimer(m_hWnd, kTimerPlaceText);
    for (const PendingText& pending : m_pendingText) pending.shape->m_ptStart = pending.origin;
    m_pendingText.clear();
    RequestRecompose();
    RepaintAll();
}

void CSnapcrestDlg::ForgetPendingText(const CShapeBase* shape) {
    m_pendingText.erase(std::remove_if(m_pendingText.begin(), m_pendingText.end(),
                                       [shape](const PendingText& p) { return p.shape == shape; }),
                        m_pendingText.end());
    if (m_pendingText.empty() && m_hWnd) ::KillTimer(m_hWnd, kTimerPlaceText);
}
