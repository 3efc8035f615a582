#include "framework/Dialog.h"

#include "framework/WinApp.h"

CDialog::CDialog(UINT templateId, CWnd* pParent) : m_nTemplateId(templateId), m_pParentWnd(pParent) {}

CDialog::~CDialog() = default;

INT_PTR CALLBACK CDialog::DialogProc(HWND, UINT, WPARAM, LPARAM) {
    // Everything the dialog handles goes through WindowProc; the dialog manager
    // only needs a procedure that declines.
    return FALSE;
}

INT_PTR CDialog::DoModal() {
    // With no parent the main window owns the dialog, unless this is it.
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!owner) {
        CWinApp* app = AfxGetApp();
        if (app && app->m_pMainWnd && app->m_pMainWnd != this) owner = app->m_pMainWnd->m_hWnd;
    }
    bool enableOwner = false;
    if (owner && ::IsWindowEnabled(owner)) {
        ::EnableWindow(owner, FALSE);
        enableOwner = true;
    }

    m_nModalResult = -1;
    m_bContinueModal = true;
    BeginCreateHook();
    HWND hwnd = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_nTemplateId), owner,
                                     &CDialog::DialogProc, 0);
    EndCreateHook();

    if (hwnd) {
        RunModalLoop();
        if (m_hWnd) {
            ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                           SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        }
    }
    if (enableOwner) ::EnableWindow(owner, TRUE);
    if (owner && m_hWnd && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(owner);
    if (m_hWnd) ::DestroyWindow(m_hWnd);
    return m_nModalResult;
}

void CDialog::RunModalLoop() {
    bool shown = (::GetWindowLongPtrA(m_hWnd, GWL_STYLE) & WS_VISIBLE) != 0;
    while (m_bContinueModal) {
        MSG msg;
        // A dialog made hidden is shown when its loop first runs out of work.
        if (!shown && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            shown = true;
            if (m_hWnd && !(::GetWindowLongPtrA(m_hWnd, GWL_STYLE) & WS_VISIBLE))
                ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
        }
        BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            // Quit: end this run and let the enclosing runs see the request too.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            m_nModalResult = -1;
            break;
        }
        if (got == -1) break;
        if (!AfxPreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    m_bContinueModal = false;
}

void CDialog::EndDialog(int result) {
    m_nModalResult = result;
    m_bContinueModal = false;
    // Wake the loop in case the call came from outside a dispatched message.
    if (m_hWnd) ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
}

BOOL CDialog::OnInitDialog() { return TRUE; }

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    const UINT m = pMsg->message;
    // The dialog manager acts on keys only. Mouse messages it would just
    // pass through the thread's message filter and dispatch, which the
    // loop does itself without the filter's round trips to the server.
    if (m < WM_KEYFIRST || m > WM_KEYLAST) return FALSE;
    return ::IsDialogMessageA(m_hWnd, pMsg);
}

BOOL CDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_INITDIALOG) {
        *pResult = OnInitDialog();
        return TRUE;
    }
    return CWnd::OnWndMsg(message, wParam, lParam, pResult);
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM) {
    switch (LOWORD(wParam)) {
    case IDOK: OnOK(); return TRUE;
    case IDCANCEL: OnCancel(); return TRUE;
    default: return FALSE;
    }
}
