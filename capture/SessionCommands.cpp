// Commands and keys of the capture session: the window procedure's order, the
// pre-translation of keys, the tool bar's command messages and undo.
#include "capture/SnapcrestDlg.h"
#include "resources/Messages.h"
#include "resources/resource.h"

LRESULT CSnapcrestDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // A release inside an open text box commits the text, and the text entry
    // gets the first look at every message, once text entry exists.
    if (message == WM_COMMAND && LOWORD(wParam) == ID_UNDO) OnUndo();
    switch (message) {
    case kMsgSave:
        // The save worker starts here once saving exists.
        break;
    case kMsgFinish:
        // Copying and finishing needs the tool bar's finish flag, which only
        // the tool bar sets.
        break;
    case kMsgUndo:
        OnUndo();
        break;
    case kMsgClose:
        EndSessionAndQuit();
        break;
    case kMsgHoverChanged:
        // Repaints the tool bar's areas once the tool bar exists.
        break;
    case kMsgCommitText:
        // Commits the text being typed once text entry exists.
        break;
    default:
        break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

BOOL CSnapcrestDlg::PreTranslateMessage(MSG* pMsg) {
    HACCEL accelerators = ::LoadAcceleratorsA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ACCELERATOR));
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
    // The open text entry closes and the tool state returns to the pen here,
    // and the newest shape goes, once they exist. With nothing left to undo
    // the capture ends.
    m_bHasSelection = 0;
    m_tracker.m_rect = Rect{-1, -2, -3, -4};
    ::BitBlt(m_dcSnapshot.dc(), 0, 0, m_nScreenWidth, m_nScreenHeight, m_dcPristine.dc(), 0, 0, SRCCOPY);
    ::PostQuitMessage(0);
}
