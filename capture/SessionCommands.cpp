// Commands and keys of the capture session: the window procedure's order, the
// pre-translation of keys, the tool bar's command messages and undo.
#include "capture/SnapcrestDlg.h"
#include "resources/Messages.h"
#include "resources/resource.h"

LRESULT CSnapcrestDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // A release inside the open text box commits the text; nothing else sees
    // it. The x of a point left of the screen comes as a large number.
    if (message == WM_LBUTTONUP && m_bTextBoxOpen && m_pTextBoxRect) {
        int x = LOWORD(lParam);
        if (x > 50000) x -= 65536;
        const Point p{x, static_cast<int>(HIWORD(lParam))};
        if (m_pTextBoxRect->Contains(p)) {
            CommitText();
            return 0;
        }
    }
    // The text being typed gets the first look at keys and the mouse.
    if (CNoWndEdit::RouteMessage(m_hWnd, message, wParam, lParam)) return 1;
    if (message == WM_COMMAND && LOWORD(wParam) == ID_UNDO) OnUndo();
    switch (message) {
    case kMsgSave:
        StartSave();
        break;
    case kMsgFinish:
        CopyAndFinish();
        break;
    case kMsgUndo:
        OnUndo();
        break;
    case kMsgClose:
        EndSessionAndQuit();
        break;
    case kMsgHoverChanged:
        OnHoverChanged();
        break;
    case kMsgCommitText:
        CommitText();
        break;
    case kMsgFirstFrameShown:
        EnsureToolBarSkin();
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) OnInputTakenAway();
        break;
    case WM_CANCELMODE:
        OnInputTakenAway();
        break;
    default:
        break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

BOOL CSnapcrestDlg::PreTranslateMessage(MSG* pMsg) {
    // Loaded once: every load makes a new table under Wine, which keeps
    // them all, and asks the server for each.
    static const HACCEL accelerators =
        ::LoadAcceleratorsA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ACCELERATOR));
    // The command has been sent; the key itself still goes on.
    if (accelerators && ::TranslateAcceleratorA(m_hWnd, accelerators, pMsg)) return FALSE;
    // Typed characters reach the window unchanged.
    if (pMsg->message == WM_CHAR) return FALSE;
    if (pMsg->message == WM_KEYDOWN) {
        switch (pMsg->wParam) {
        case VK_ESCAPE:
            EndSessionAndQuit();
            return TRUE;
        case VK_RETURN:
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
            // Never the dialog's default command or focus keys: the window
            // (and the keyboard filter on the way) gets them.
            return FALSE;
        default:
            break;
        }
    }
    return CDialog::PreTranslateMessage(pMsg);
}

void CSnapcrestDlg::OnOK() {
    // Enter is not a command here.
}

void CSnapcrestDlg::OnUndo() {
    if (!m_bHasSelection) return;
    // The typed text, if any, is discarded.
    CloseTextEntry();
    // After an undo the pen is the chosen tool, outside annotation mode.
    if (m_pToolBars) {
        ToolState& tools = *m_pToolBars;
        tools.m_bPen = 1;
        tools.m_bCircle = tools.m_bRect = tools.m_bArrow = tools.m_bText = 0;
        tools.m_bDrawMode = tools.m_bFinish = tools.m_bSave = 0;
    }
    if (!m_shapes.empty()) {
        RemoveNewestShape();
        RequestRecompose();
        RepaintAll();
        return;
    }
    // Nothing left to undo: the capture ends.
    if (m_pToolBars) {
        m_pToolBars->m_bPen = 0;
        m_pToolBars->m_bPanelShown = 0;
    }
    m_bHasSelection = 0;
    m_tracker.m_rect = Rect{-1, -2, -3, -4};
    // The snapshot is as it was taken: nothing ever draws on it.
    if (m_pToolBars) m_pToolBars->SetPosition(0, -200);
    ::PostQuitMessage(0);
}
