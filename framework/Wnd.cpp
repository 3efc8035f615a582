#include "framework/Wnd.h"

#include <windowsx.h>
#include <map>

namespace {
// All objects live on the one user-interface thread, so a plain map suffices.
std::map<HWND, CWnd*>& HandleMap() {
    static std::map<HWND, CWnd*> map;
    return map;
}
thread_local CWnd* t_creating = nullptr;
thread_local HHOOK t_cbtHook = nullptr;
}  // namespace

CWnd::CWnd() = default;

CWnd::~CWnd() {
    if (m_hWnd) {
        HWND h = m_hWnd;
        Detach();
        ::DestroyWindow(h);
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    auto& map = HandleMap();
    auto it = map.find(hwnd);
    return it == map.end() ? nullptr : it->second;
}

void CWnd::Attach(HWND hwnd) {
    m_hWnd = hwnd;
    HandleMap()[hwnd] = this;
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::FrameworkWndProc)));
}

void CWnd::Detach() {
    if (!m_hWnd) return;
    HandleMap().erase(m_hWnd);
    if (m_pfnSuper && ::IsWindow(m_hWnd))
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_hWnd = nullptr;
}

void CWnd::BeginCreateHook() {
    t_creating = this;
    if (!t_cbtHook)
        t_cbtHook = ::SetWindowsHookExA(WH_CBT, &CWnd::CbtHook, nullptr, ::GetCurrentThreadId());
}

void CWnd::EndCreateHook() {
    t_creating = nullptr;
    if (t_cbtHook) {
        ::UnhookWindowsHookEx(t_cbtHook);
        t_cbtHook = nullptr;
    }
}

LRESULT CALLBACK CWnd::CbtHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && t_creating) {
        CWnd* wnd = t_creating;
        t_creating = nullptr;
        wnd->Attach(reinterpret_cast<HWND>(wParam));
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK CWnd::FrameworkWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = FromHandlePermanent(hwnd);
    if (!wnd) return ::DefWindowProcA(hwnd, message, wParam, lParam);
    CurrentMessage saved = wnd->m_current;
    wnd->m_current = {message, wParam, lParam};
    LRESULT result = wnd->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // The window is gone: the object no longer stands for it.
        wnd->Detach();
        return result;
    }
    wnd->m_current = saved;
    return result;
}

LRESULT CWnd::Default() {
    if (!m_pfnSuper) return ::DefWindowProcA(m_hWnd, m_current.message, m_current.wParam, m_current.lParam);
    return ::CallWindowProcA(m_pfnSuper, m_hWnd, m_current.message, m_current.wParam, m_current.lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) result = Default();
    return result;
}

static POINT PointOf(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const UINT flags = static_cast<UINT>(wParam);
    switch (message) {
    case WM_CREATE: *pResult = OnCreate(reinterpret_cast<LPCREATESTRUCTA>(lParam)); return TRUE;
    case WM_DESTROY: OnDestroy(); *pResult = 0; return TRUE;
    case WM_PAINT: OnPaint(); *pResult = 0; return TRUE;
    case WM_ERASEBKGND: *pResult = OnEraseBkgnd(reinterpret_cast<HDC>(wParam)); return TRUE;
    case WM_TIMER: OnTimer(wParam); *pResult = 0; return TRUE;
    case WM_MOUSEMOVE: OnMouseMove(flags, PointOf(lParam)); *pResult = 0; return TRUE;
    case WM_LBUTTONDOWN: OnLButtonDown(flags, PointOf(lParam)); *pResult = 0; return TRUE;
    case WM_LBUTTONUP: OnLButtonUp(flags, PointOf(lParam)); *pResult = 0; return TRUE;
    case WM_LBUTTONDBLCLK: OnLButtonDblClk(flags, PointOf(lParam)); *pResult = 0; return TRUE;
    case WM_RBUTTONUP: OnRButtonUp(flags, PointOf(lParam)); *pResult = 0; return TRUE;
    case WM_SETCURSOR:
        *pResult = OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    case WM_QUERYDRAGICON: *pResult = reinterpret_cast<LRESULT>(OnQueryDragIcon()); return TRUE;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORMSGBOX:
        *pResult = reinterpret_cast<LRESULT>(OnCtlColor(reinterpret_cast<HDC>(wParam),
                                                        reinterpret_cast<HWND>(lParam),
                                                        message - WM_CTLCOLORMSGBOX));
        return TRUE;
    case WM_HOTKEY:
        OnHotKey(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        *pResult = 0;
        return TRUE;
    case WM_COMMAND:
        if (OnCommand(wParam, lParam)) { *pResult = 0; return TRUE; }
        return FALSE;
    default:
        return FALSE;
    }
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::WalkPreTranslateTree(HWND hwndStop, MSG* pMsg) {
    for (HWND h = pMsg->hwnd; h != nullptr; h = ::GetParent(h)) {
        CWnd* wnd = FromHandlePermanent(h);
        if (wnd && wnd->PreTranslateMessage(pMsg)) return TRUE;
        if (h == hwndStop) break;
    }
    return FALSE;
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags) {
    LONG_PTR style = ::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE);
    LONG_PTR newStyle = (style & ~static_cast<LONG_PTR>(remove)) | add;
    if (style == newStyle) return FALSE;
    ::SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE, newStyle);
    if (swpFlags)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}
