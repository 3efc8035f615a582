#pragma once
#include <windows.h>
#include <shellapi.h>

#include "framework/Dialog.h"
#include "resources/Messages.h"

// The invisible host window that owns the process. It opens the first capture
// 10 ms after start-up (unless the command line says "nostart"), keeps the
// global hotkeys, and answers the control messages of other processes:
// 2024 reopens the capture gate, 3024 asks for a capture, 3025 quits. It also
// answers the notification-area icon 10001 (registered for it from outside):
// a left press starts the program again, a right release shows its menu.
class ShowPoint : public CDialog {
public:
    explicit ShowPoint(CWnd* pParent = nullptr);

    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;

    // The host's one way of running a capture: construct a session, run it
    // modally inside the host's own run, then destroy it.
    void OpenCaptureSession();

protected:
    int OnCreate(LPCREATESTRUCTA cs) override;
    void OnTimer(UINT_PTR id) override;
    void OnDestroy() override;
    void OnHotKey(UINT id, UINT modifiers, UINT vk) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    // Message 3034: 1 for another icon, else 0.
    LRESULT OnTrayNotify(UINT iconId, UINT mouseMessage);
    // Starts the executable again as a new process, which captures at once;
    // this one goes on as it was.
    void Relaunch();
    void OnExit();

    // Names the icon whose callbacks the host answers, for its removal at exit.
    NOTIFYICONDATAA m_nid{};
};

// 1 while a capture request may open a session; 0 while one so opened runs.
extern int g_bCanCapture;

inline constexpr UINT_PTR kStartupTimer = 1002;
inline constexpr int kHotkeyCaptureA = 1001;
inline constexpr int kHotkeyCaptureNumpad1 = 1002;
