#pragma once
#include "capture/EarlySnapshot.h"
#include "framework/WinApp.h"
#include "resources/Messages.h"

// The application object. Start-up starts the imaging services and runs the
// invisible host modally for the life of the process.
class CSnapcrestApp : public CWinApp {
public:
    CSnapcrestApp();

    BOOL InitInstance() override;
    // The keyboard filter: arrow keys on their way to the current capture
    // session move or resize its selection.
    BOOL ProcessMessageFilter(int code, MSG* pMsg) override;

    // The window of the capture session last initialised; never cleared.
    HWND m_hSessionWnd;
    // The screen grabbed at start-up for the capture that start-up opens.
    EarlySnapshot m_earlySnapshot;
};

// The application object as the program's own type, or null (for instance in
// a test program that runs sessions without one).
CSnapcrestApp* GetSnapcrestApp();

// Admits the capture request (3024) from lower-integrity processes to the host
// window only, through the platform's message filter; tells the user once
// when the platform has a filter but refuses.
void AdmitCaptureRequests(HWND host);
