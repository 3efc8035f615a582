#pragma once
#include <windows.h>

// The window object that the application's windows derive from: it owns the
// association between a window handle and its C++ object, takes every message
// of the window through the virtual WindowProc, and dispatches the messages
// the program cares about to named handlers. A handler's "default handling"
// (Default) hands the message being dispatched to the window's original
// procedure.
class CWnd {
public:
    CWnd();
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object attached to a window of this process, or null.
    static CWnd* FromHandlePermanent(HWND hwnd);

    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    // Walks from the message's window through its parents and owners, offering
    // the message to each attached object's PreTranslateMessage, and stops
    // after hwndStop. True when some object consumed it.
    static BOOL WalkPreTranslateTree(HWND hwndStop, MSG* pMsg);

    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags = 0);
    BOOL SetWindowText(const char* text) { return ::SetWindowTextA(m_hWnd, text); }

protected:
    // The original window procedure with the message now being dispatched.
    LRESULT Default();

    // Dispatches to the handlers below; false when the message has none.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    virtual int OnCreate(LPCREATESTRUCTA) { return static_cast<int>(Default()); }
    virtual void OnDestroy() { Default(); }
    virtual void OnPaint() { Default(); }
    virtual BOOL OnEraseBkgnd(HDC) { return static_cast<BOOL>(Default()); }
    virtual void OnTimer(UINT_PTR) { Default(); }
    virtual void OnMouseMove(UINT, POINT) { Default(); }
    virtual void OnLButtonDown(UINT, POINT) { Default(); }
    virtual void OnLButtonUp(UINT, POINT) { Default(); }
    virtual void OnLButtonDblClk(UINT, POINT) { Default(); }
    virtual void OnRButtonUp(UINT, POINT) { Default(); }
    virtual BOOL OnSetCursor(HWND, UINT, UINT) { return static_cast<BOOL>(Default()); }
    virtual HCURSOR OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(Default()); }
    virtual HBRUSH OnCtlColor(HDC, HWND, UINT) { return reinterpret_cast<HBRUSH>(Default()); }
    virtual void OnHotKey(UINT, UINT, UINT) { Default(); }
    // WM_COMMAND: true when handled.
    virtual BOOL OnCommand(WPARAM, LPARAM) { return FALSE; }

    // Attaches the next window that this thread creates to this object, so
    // that it sees WM_NCCREATE and WM_CREATE. Pair with EndCreateHook.
    void BeginCreateHook();
    static void EndCreateHook();

    void Attach(HWND hwnd);
    void Detach();

private:
    static LRESULT CALLBACK FrameworkWndProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK CbtHook(int, WPARAM, LPARAM);

    WNDPROC m_pfnSuper = nullptr;
    struct CurrentMessage { UINT message; WPARAM wParam; LPARAM lParam; };
    CurrentMessage m_current{};
};
