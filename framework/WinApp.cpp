#include "framework/WinApp.h"

#include "platform/ModulePaths.h"

#include <string>

namespace {
CWinApp* g_app = nullptr;
HHOOK g_msgFilterHook = nullptr;

LRESULT CALLBACK MsgFilterHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code < 0 || !g_app) return ::CallNextHookEx(g_msgFilterHook, code, wParam, lParam);
    if (g_app->ProcessMessageFilter(code, reinterpret_cast<MSG*>(lParam))) return TRUE;
    return ::CallNextHookEx(g_msgFilterHook, code, wParam, lParam);
}
}  // namespace

CWinApp::CWinApp() {
    g_app = this;
    if (!g_msgFilterHook)
        g_msgFilterHook = ::SetWindowsHookExA(WH_MSGFILTER, &MsgFilterHook, nullptr, ::GetCurrentThreadId());
}

CWinApp::~CWinApp() {
    if (g_msgFilterHook) {
        ::UnhookWindowsHookEx(g_msgFilterHook);
        g_msgFilterHook = nullptr;
    }
    if (g_app == this) g_app = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

BOOL CWinApp::ProcessMessageFilter(int, MSG*) { return FALSE; }

int CWinApp::Run(HINSTANCE hInstance) {
    m_hInstance = hInstance;
    if (!InitInstance()) return ExitInstance();
    // An application that keeps running after start-up pumps the main loop.
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!AfxPreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    ExitInstance();
    return static_cast<int>(msg.wParam);
}

CWinApp* AfxGetApp() { return g_app; }

BOOL AfxPreTranslateMessage(MSG* pMsg) {
    HWND stop = (g_app && g_app->m_pMainWnd) ? g_app->m_pMainWnd->m_hWnd : nullptr;
    return CWnd::WalkPreTranslateTree(stop, pMsg);
}

int AfxMessageBox(const char* text, UINT type) {
    // Titled with the program's file name, without its extension.
    std::string title = "snapcrest";
    std::string path;
    if (ExecutablePath(&path)) {
        title = path.substr(path.find_last_of('\\') + 1);
        title = title.substr(0, title.find_last_of('.'));
    }
    HWND owner = (g_app && g_app->m_pMainWnd) ? g_app->m_pMainWnd->m_hWnd : nullptr;
    return ::MessageBoxA(owner, text, title.c_str(), type);
}
