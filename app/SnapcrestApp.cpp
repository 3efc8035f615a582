#include "app/SnapcrestApp.h"

#include <cstdlib>

#include "app/CommandLine.h"
#include "app/ShowPoint.h"
#include "capture/SnapcrestDlg.h"
#include "platform/Gdiplus.h"
#include "tracker/MyTracker.h"

CSnapcrestApp::CSnapcrestApp() : CWinApp(), m_hSessionWnd(nullptr) {
    // The user-interface thread goes into the single-threaded apartment
    // whatever state it was in; the text services need it.
    ::CoUninitialize();
    ::OleInitialize(nullptr);
    CWinApp::InitInstance();
    // Process-wide drawing objects are released at exit, after the last session.
    std::atexit(&ReleaseTrackerSharedResources);
}

CSnapcrestApp* GetSnapcrestApp() { return dynamic_cast<CSnapcrestApp*>(AfxGetApp()); }

BOOL CSnapcrestApp::InitInstance() {
    // The capture that start-up opens shows the screen as it was at launch;
    // grabbing it now lets the grab overlap the making of the host window.
    if (!ContainsNoStart(::GetCommandLineA())) m_earlySnapshot.Start();

    gdip::Startup();

    ShowPoint host;
    m_pMainWnd = &host;
    host.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}

void AdmitCaptureRequests(HWND host) {
    // Only the host admits the request, so that less privileged programs
    // cannot drive any other window of the process (a capture window reads
    // its own command numbers). Systems before the per-window filter have
    // the process-wide one; the oldest have neither and nothing to admit.
    HMODULE user32 = ::GetModuleHandleA("user32.dll");
    if (!user32) return;
    using WindowFilterFn = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    using ProcessFilterFn = BOOL(WINAPI*)(UINT, DWORD);
    auto perWindow = reinterpret_cast<WindowFilterFn>(
        reinterpret_cast<void*>(::GetProcAddress(user32, "ChangeWindowMessageFilterEx")));
    auto perProcess = reinterpret_cast<ProcessFilterFn>(
        reinterpret_cast<void*>(::GetProcAddress(user32, "ChangeWindowMessageFilter")));
    if (perWindow && perWindow(host, kMsgCaptureRequest, 1 /* MSGFLT_ALLOW */, nullptr)) return;
    if (!perWindow && perProcess && perProcess(kMsgCaptureRequest, 1 /* MSGFLT_ADD */)) return;
    if (perWindow || perProcess) AfxMessageBox("ChangeWindowMessageFilter Fail", MB_OK);
}

BOOL CSnapcrestApp::ProcessMessageFilter(int code, MSG* pMsg) {
    if (m_hSessionWnd && pMsg && pMsg->message == WM_KEYDOWN &&
        (pMsg->hwnd == m_hSessionWnd || ::IsChild(m_hSessionWnd, pMsg->hwnd))) {
        auto* session = dynamic_cast<CSnapcrestDlg*>(CWnd::FromHandlePermanent(m_hSessionWnd));
        if (session) {
            const bool shift = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
            session->NudgeByKey(static_cast<unsigned>(pMsg->wParam), shift);
        }
    }
    return CWinApp::ProcessMessageFilter(code, pMsg);
}
