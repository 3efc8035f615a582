#include "app/ShowPoint.h"

#include <memory>

#include "app/CommandLine.h"
#include "app/DeskBandLauncher.h"
#include "app/SnapcrestApp.h"
#include "capture/SnapcrestDlg.h"
#include "resources/resource.h"

int g_bCanCapture = 0;

ShowPoint::ShowPoint(CWnd* pParent) : CDialog(IDD_SHOWPOINT, pParent) { g_bCanCapture = 1; }

int ShowPoint::OnCreate(LPCREATESTRUCTA cs) {
    if (CDialog::OnCreate(cs) == -1) return -1;
    // A combination that another program holds stays unregistered, silently.
    ::RegisterHotKey(m_hWnd, kHotkeyCaptureA, MOD_CONTROL | MOD_SHIFT, 0x41);
    ::RegisterHotKey(m_hWnd, kHotkeyCaptureNumpad1, MOD_CONTROL | MOD_SHIFT, VK_NUMPAD1);
    return 0;
}

BOOL ShowPoint::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText("岚梭截屏");
    AdmitCaptureRequests(m_hWnd);
    ::MoveWindow(m_hWnd, -1000, -1000, 1010, 1010, TRUE);

    // Only visibility, clipping and the system-menu bits stay; the popup style
    // and the frame go. Of the extended bits only accept-files and tool-window
    // stay, so the template's transparency goes.
    ::SetWindowLongA(m_hWnd, GWL_STYLE, ::GetWindowLongA(m_hWnd, GWL_STYLE) & 0x160B0000);
    ::SetWindowLongA(m_hWnd, GWL_EXSTYLE, ::GetWindowLongA(m_hWnd, GWL_EXSTYLE) & 0x90);
    ::SetWindowPos(m_hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);

    // Layered without attributes: the platform never draws the window, so the
    // host stays invisible even when shown.
    ::SetWindowLongA(m_hWnd, GWL_EXSTYLE, ::GetWindowLongA(m_hWnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    ModifyStyleEx(WS_EX_APPWINDOW, WS_EX_TOOLWINDOW);

    ::SetTimer(m_hWnd, kStartupTimer, 10, nullptr);
    if (ContainsNoStart(::GetCommandLineA())) StartDeskBandLauncher();
    return TRUE;
}

void ShowPoint::OnTimer(UINT_PTR) {
    // Killed before the session opens, so the first capture opens exactly once.
    ::KillTimer(m_hWnd, kStartupTimer);
    if (!ContainsNoStart(::GetCommandLineA())) OpenCaptureSession();
    Default();
}

void ShowPoint::OpenCaptureSession() {
    auto session = std::make_unique<CSnapcrestDlg>(nullptr);
    session->m_onWindowReady = [](HWND window) {
        if (CSnapcrestApp* app = GetSnapcrestApp()) app->m_hSessionWnd = window;
    };
    session->DoModal();
    ModifyStyleEx(WS_EX_APPWINDOW, WS_EX_TOOLWINDOW);
}

BOOL ShowPoint::PreTranslateMessage(MSG* pMsg) {
    // Escape never closes the host.
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE) return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

LRESULT ShowPoint::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kMsgReopenGate:
        g_bCanCapture = 1;
        break;
    case kMsgCaptureRequest:
        if (g_bCanCapture) {
            g_bCanCapture = 0;
            OpenCaptureSession();
            g_bCanCapture = 1;
        }
        break;
    case kMsgQuit:
        ::PostQuitMessage(0);
        break;
    default:
        break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

void ShowPoint::OnHotKey(UINT id, UINT, UINT) {
    if (id == kHotkeyCaptureA || id == kHotkeyCaptureNumpad1) ::SetForegroundWindow(m_hWnd);
    OpenCaptureSession();
}

void ShowPoint::OnDestroy() {
    CDialog::OnDestroy();
    ::UnregisterHotKey(m_hWnd, kHotkeyCaptureA);
    ::UnregisterHotKey(m_hWnd, kHotkeyCaptureNumpad1);
}
