#include "app/ShowPoint.h"

#include <memory>

#include "app/CommandLine.h"
#include "app/DeskBandLauncher.h"
#include "app/SnapcrestApp.h"
#include "capture/SnapcrestDlg.h"
#include "platform/GdiHandles.h"
#include "platform/ModulePaths.h"
#include "platform/TrayIcon.h"
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
    // The session opens 10 ms after the host exists; the host's own set-up
    // below runs within those 10 ms rather than before them (a timer only
    // fires once the dialog's message loop runs, after this set-up).
    ::SetTimer(m_hWnd, kStartupTimer, 10, nullptr);
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
    CSnapcrestApp* app = GetSnapcrestApp();
    const HWND outer = app ? app->m_hSessionWnd : nullptr;
    const HWND outerTarget = g_hCaptureWnd;
    // The new capture takes the input over from one still open: that one is
    // told first, so that a first drag under way ends where its pointer was.
    // Its deactivation says so too, but under X it may come late, or not at
    // all when it was not the active window.
    if (outer && ::IsWindow(outer)) ::SendMessageA(outer, WM_CANCELMODE, 0, 0);
    auto session = std::make_unique<CSnapcrestDlg>(nullptr, app ? app->m_earlySnapshot.Take() : nullptr);
    session->m_onWindowReady = [app](HWND window) {
        if (app) app->m_hSessionWnd = window;
    };
    session->DoModal();
    // A capture opened inside another one (a hotkey during a capture) took
    // the keyboard filter over; the outer one gets it back, and the keyboard,
    // so that its arrow keys work again.
    if (app && outer && ::IsWindow(outer)) {
        app->m_hSessionWnd = outer;
        g_hCaptureWnd = outerTarget;
        ::SetForegroundWindow(outer);
    }
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
    case kMsgTrayNotify:
        return OnTrayNotify(static_cast<UINT>(wParam), static_cast<UINT>(lParam));
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

LRESULT ShowPoint::OnTrayNotify(UINT iconId, UINT mouseMessage) {
    if (iconId != kTrayIconId) return 1;
    if (mouseMessage == WM_LBUTTONDOWN) {
        Relaunch();
    } else if (mouseMessage == WM_RBUTTONUP) {
        POINT at{};
        ::GetCursorPos(&at);
        // Without the foreground the menu would not close on a click elsewhere.
        ::SetForegroundWindow(m_hWnd);
        UniqueMenu menu(::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TRAY_MENU)));
        if (HMENU popup = menu ? ::GetSubMenu(menu.get(), 0) : nullptr)
            ::TrackPopupMenu(popup, 0, at.x, at.y, 0, m_hWnd, nullptr);
    }
    return 0;
}

BOOL ShowPoint::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case ID_RELAUNCH:
        Relaunch();
        return TRUE;
    case ID_SHOW_TASKBAR:
        return TRUE;
    case ID_EXIT:
        OnExit();
        return TRUE;
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}

void ShowPoint::Relaunch() {
    std::string exe;
    // A path that cannot be read whole is not run cut short.
    if (!ExecutablePath(&exe)) return;
    ::WinExec(RelaunchCommandLine(exe).c_str(), SW_SHOWNORMAL);
}

void ShowPoint::OnExit() {
    m_nid.cbSize = sizeof m_nid;
    m_nid.hWnd = m_hWnd;
    m_nid.uID = kTrayIconId;
    NotifyTrayIcon(NIM_DELETE, &m_nid);
    ::PostQuitMessage(0);
}
