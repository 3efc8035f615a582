#pragma once
#include "framework/Wnd.h"

// The application object: one per process, constructed statically. The entry
// point calls InitInstance once; when it returns false the process ends
// without a message loop of its own. The thread's message filter (used by the
// dialog manager while it examines keys) is routed to ProcessMessageFilter.
class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance();
    // True consumes the message; the default consumes nothing.
    virtual BOOL ProcessMessageFilter(int code, MSG* pMsg);
    virtual int ExitInstance() { return 0; }

    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;

    // Runs the application; called by the entry point.
    int Run(HINSTANCE hInstance);
};

CWinApp* AfxGetApp();
// Offers a retrieved message to the windows from its target up to the main
// window; true when one of them consumed it.
BOOL AfxPreTranslateMessage(MSG* pMsg);
// A message box owned by the main window, titled with the program's name.
int AfxMessageBox(const char* text, UINT type = MB_OK);
