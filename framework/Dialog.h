#pragma once
#include "framework/Wnd.h"

// A dialog built from a template of the executable and run modally: DoModal
// disables the owner, runs a message loop of its own until EndDialog or a quit
// request, then destroys the window. A quit request ends this loop and is
// posted again, so every enclosing modal loop ends in turn.
class CDialog : public CWnd {
public:
    CDialog(UINT templateId, CWnd* pParent);
    ~CDialog() override;

    virtual INT_PTR DoModal();
    void EndDialog(int result);

    virtual BOOL OnInitDialog();
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }

    // Keyboard messages get the dialog manager's processing, which also
    // shows them to the thread's message filter.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
    void RunModalLoop();

    UINT m_nTemplateId;
    CWnd* m_pParentWnd;
    bool m_bContinueModal = false;
    INT_PTR m_nModalResult = -1;
};
