#pragma once
// A windowless rich-edit text entry: the platform's text services do the
// editing, caret, selection and input-method text, and this host tells them
// which window, rectangle and formats to use. The window that owns the host
// hands it its keyboard and mouse messages (RouteMessage) and lets it draw
// over its own picture (DrawHosts); no edit control window exists.
#include <windows.h>
#include <ole2.h>
#include <richedit.h>
#include <textserv.h>

#include <string>

class CNoWndEdit : public ITextHost {
public:
    // Creates the text services and registers the host. When the services
    // cannot be created the host stays inert: it draws nothing, consumes
    // nothing and its text reads as empty.
    CNoWndEdit();
    virtual ~CNoWndEdit();
    CNoWndEdit(const CNoWndEdit&) = delete;
    CNoWndEdit& operator=(const CNoWndEdit&) = delete;

    // Binds the host to wnd and places its text rectangle there.
    void SetEditRect(HWND wnd, const RECT& rect);
    // Replaces the whole text; text is in the ANSI code page.
    void SetText(const char* text);
    // The whole text in the ANSI code page; paragraph breaks as single CRs.
    std::string GetText();
    void SetFontColor(COLORREF color);
    void SetFontHeight(LONG twips, LONG offset);
    void SetMultiLine(BOOL multiLine);
    void SetVisible(BOOL visible);
    void Activate();
    void Deactivate();

    bool HasServices() const { return m_pServices != nullptr; }
    BOOL IsActive() const { return m_bActive; }

    // Every visible host bound to wnd draws its text onto dc.
    static void DrawHosts(HWND wnd, HDC dc);
    // Offers a message of wnd to its visible hosts; TRUE when one consumed it.
    static BOOL RouteMessage(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // ITextHost
    HDC TxGetDC() override;
    INT TxReleaseDC(HDC hdc) override;
    WINBOOL TxShowScrollBar(INT, WINBOOL) override { return TRUE; }
    WINBOOL TxEnableScrollBar(INT, INT) override { return TRUE; }
    WINBOOL TxSetScrollRange(INT, LONG, INT, WINBOOL) override { return TRUE; }
    WINBOOL TxSetScrollPos(INT, INT, WINBOOL) override { return TRUE; }
    void TxInvalidateRect(LPCRECT prc, WINBOOL fMode) override;
    void TxViewChange(WINBOOL fUpdate) override;
    WINBOOL TxCreateCaret(HBITMAP hbmp, INT xWidth, INT yHeight) override;
    WINBOOL TxShowCaret(WINBOOL fShow) override;
    WINBOOL TxSetCaretPos(INT x, INT y) override;
    WINBOOL TxSetTimer(UINT, UINT) override { return FALSE; }
    void TxKillTimer(UINT) override {}
    void TxScrollWindowEx(INT, INT, LPCRECT, LPCRECT, HRGN, LPRECT, UINT) override {}
    void TxSetCapture(WINBOOL fCapture) override;
    void TxSetFocus() override;
    void TxSetCursor(HCURSOR hcur, WINBOOL fText) override;
    WINBOOL TxScreenToClient(LPPOINT lppt) override;
    WINBOOL TxClientToScreen(LPPOINT lppt) override;
    HRESULT TxActivate(LONG*) override { return S_OK; }
    HRESULT TxDeactivate(LONG) override { return S_OK; }
    HRESULT TxGetClientRect(LPRECT prc) override;
    HRESULT TxGetViewInset(LPRECT prc) override;
    HRESULT TxGetCharFormat(const CHARFORMATW** ppCF) override;
    HRESULT TxGetParaFormat(const PARAFORMAT** ppPF) override;
    COLORREF TxGetSysColor(int nIndex) override { return ::GetSysColor(nIndex); }
    HRESULT TxGetBackStyle(TXTBACKSTYLE* pstyle) override;
    HRESULT TxGetMaxLength(DWORD* plength) override;
    HRESULT TxGetScrollBars(DWORD* pdwScrollBar) override;
    HRESULT TxGetPasswordChar(TCHAR* pch) override;
    HRESULT TxGetAcceleratorPos(LONG* pcp) override;
    HRESULT TxGetExtent(LPSIZEL) override { return E_NOTIMPL; }
    HRESULT OnTxCharFormatChange(const CHARFORMATW*) override { return S_OK; }
    HRESULT OnTxParaFormatChange(const PARAFORMAT*) override { return S_OK; }
    HRESULT TxGetPropertyBits(DWORD dwMask, DWORD* pdwBits) override;
    HRESULT TxNotify(DWORD, void*) override { return S_OK; }
    HIMC TxImmGetContext() override { return nullptr; }
    void TxImmReleaseContext(HIMC himc) override { ::ImmReleaseContext(m_hWnd, himc); }
    HRESULT TxGetSelectionBarWidth(LONG* lSelBarWidth) override;

private:
    // One host's part of RouteMessage; TRUE when the message was consumed.
    BOOL HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // A character of the ANSI window as the services take it (UTF-16), or
    // false while the first byte of a double-byte character waits for its
    // second.
    bool ToServicesChar(UINT message, WPARAM wParam, WPARAM* wide);
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam);
    void SendCharFormat(COLORREF color);

    LONG m_cRef = 1;  // the owner's reference; the host is destroyed by its owner
    bool m_bDestroying = false;
    CHARFORMATW m_cf;
    PARAFORMAT m_pf;
    ITextServices* m_pServices = nullptr;
    char m_chPassword = 0;
    DWORD m_dwPropertyBits = TXTBIT_RICHTEXT | TXTBIT_MULTILINE | TXTBIT_WORDWRAP;
    DWORD m_dwMaxLength = 0x1000000;
    BOOL m_bActive = 0;
    BOOL m_bVisible = 1;
    BOOL m_bActivateOnClick = 1;
    HWND m_hWnd = nullptr;
    RECT m_rcClient{};
    RECT m_rcActivate{};
    COLORREF m_crInactive = 0x00969696;
    BOOL m_bCaptured = 0;
    // The lead byte of a double-byte character whose trail byte has not come yet.
    BYTE m_chLeadByte = 0;
};
