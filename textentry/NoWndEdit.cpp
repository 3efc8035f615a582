#include "textentry/NoWndEdit.h"

#include <imm.h>

#include <algorithm>
#include <vector>

#include "platform/AnsiText.h"

namespace {
// {C5BDD8D0-D26E-11CE-A89E-00AA006CADC5}
const IID kIidTextHost = {0xc5bdd8d0, 0xd26e, 0x11ce, {0xa8, 0x9e, 0x00, 0xaa, 0x00, 0x6c, 0xad, 0xc5}};
// {8D33F740-CF58-11CE-A89D-00AA006CADC5}
const IID kIidTextServices = {0x8d33f740, 0xcf58, 0x11ce, {0xa8, 0x9d, 0x00, 0xaa, 0x00, 0x6c, 0xad, 0xc5}};

constexpr COLORREF kGreyText = 0x00969696;

// All live hosts in order of construction. The lock lives as long as the
// process: a host may still be destroyed while the process winds down.
struct Registry {
    Registry() { ::InitializeCriticalSection(&lock); }
    CRITICAL_SECTION lock;
    std::vector<CNoWndEdit*> hosts;
};

Registry& TheRegistry() {
    static Registry* registry = new Registry;  // never deleted, see above
    return *registry;
}

class RegistryLock {
public:
    RegistryLock() { ::EnterCriticalSection(&TheRegistry().lock); }
    ~RegistryLock() { ::LeaveCriticalSection(&TheRegistry().lock); }
    RegistryLock(const RegistryLock&) = delete;
    RegistryLock& operator=(const RegistryLock&) = delete;
};

// The rich-edit library stays loaded for the rest of the process: text
// services made from it may live until the last session window goes.
PCreateTextServices TextServicesFactory() {
    static PCreateTextServices factory = [] {
        HMODULE library = ::LoadLibraryA("riched20.dll");
        return library ? reinterpret_cast<PCreateTextServices>(
                             reinterpret_cast<void*>(::GetProcAddress(library, MAKEINTRESOURCEA(4))))
                       : nullptr;
    }();
    return factory;
}

bool IsKeyboardMessage(UINT m) { return m >= WM_KEYDOWN && m <= WM_UNICHAR; }
bool IsMouseMessage(UINT m) { return m >= WM_MOUSEMOVE && m <= WM_MOUSEHWHEEL; }

}  // namespace

CNoWndEdit::CNoWndEdit() {
    ZeroMemory(&m_cf, sizeof m_cf);
    m_cf.cbSize = sizeof m_cf;
    m_cf.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_PROTECTED | CFM_CHARSET |
                  CFM_OFFSET | CFM_FACE | CFM_COLOR | CFM_SIZE;
    m_cf.yHeight = 300;
    m_cf.crTextColor = m_crInactive;
    m_cf.bCharSet = DEFAULT_CHARSET;
    lstrcpyW(m_cf.szFaceName, L"宋体");

    ZeroMemory(&m_pf, sizeof m_pf);
    m_pf.cbSize = sizeof m_pf;
    m_pf.dwMask = PFM_STARTINDENT | PFM_RIGHTINDENT | PFM_OFFSET | PFM_ALIGNMENT | PFM_TABSTOPS | PFM_NUMBERING |
                  PFM_RTLPARA | PFM_OFFSETINDENT;
    m_pf.wAlignment = PFA_LEFT;

    if (PCreateTextServices create = TextServicesFactory()) {
        IUnknown* unknown = nullptr;
        if (SUCCEEDED(create(nullptr, this, &unknown)) && unknown) {
            void* services = nullptr;
            if (SUCCEEDED(unknown->QueryInterface(kIidTextServices, &services)))
                m_pServices = static_cast<ITextServices*>(services);
            unknown->Release();
        }
    }
    // No automatic keyboard switching or font substitution.
    Send(EM_SETLANGOPTIONS, 0, 0);

    RegistryLock lock;
    TheRegistry().hosts.push_back(this);
}

CNoWndEdit::~CNoWndEdit() {
    {
        RegistryLock lock;
        auto& hosts = TheRegistry().hosts;
        hosts.erase(std::remove(hosts.begin(), hosts.end(), this), hosts.end());
    }
    // The services may give back references to the host as they go; those
    // must not destroy it a second time.
    m_bDestroying = true;
    if (m_pServices) m_pServices->Release();
    m_pServices = nullptr;
}

LRESULT CNoWndEdit::Send(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (m_pServices) m_pServices->TxSendMessage(message, wParam, lParam, &result);
    return result;
}

void CNoWndEdit::SendCharFormat(COLORREF color) {
    CHARFORMATW format = m_cf;
    format.crTextColor = color;
    Send(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
}

void CNoWndEdit::SetEditRect(HWND wnd, const RECT& rect) {
    m_rcClient = m_rcActivate = rect;
    m_hWnd = wnd;
    if (m_pServices) m_pServices->OnTxInPlaceActivate(&m_rcClient);
}

void CNoWndEdit::SetText(const char* text) {
    CHARRANGE all{0, -1};
    Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
    const std::wstring wide = WidenAnsi(text ? text : "");
    Send(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(wide.c_str()));
}

std::string CNoWndEdit::GetText() {
    GETTEXTLENGTHEX lengthQuery{GTL_DEFAULT, CP_ACP};
    const LRESULT length = Send(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&lengthQuery), 0);
    if (length <= 0) return std::string();
    // Two bytes per character hold any double-byte text, plus the terminator.
    std::vector<char> buffer(static_cast<size_t>(2 * length + 1), '\0');
    GETTEXTEX query{};
    query.cb = static_cast<DWORD>(buffer.size());
    query.flags = GT_DEFAULT;
    query.codepage = CP_ACP;
    Send(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&query), reinterpret_cast<LPARAM>(buffer.data()));
    buffer.back() = '\0';
    return std::string(buffer.data());
}

void CNoWndEdit::SetFontColor(COLORREF color) {
    m_cf.crTextColor = color;
    if (m_bActive) SendCharFormat(m_cf.crTextColor);
}

void CNoWndEdit::SetFontHeight(LONG twips, LONG offset) {
    m_cf.yHeight = twips;
    m_cf.yOffset = -offset;
    if (m_bActive) SendCharFormat(m_cf.crTextColor);
}

void CNoWndEdit::SetMultiLine(BOOL multiLine) {
    if (multiLine)
        m_dwPropertyBits |= TXTBIT_MULTILINE;
    else
        m_dwPropertyBits &= ~static_cast<DWORD>(TXTBIT_MULTILINE);
    if (m_pServices) m_pServices->OnTxPropertyBitsChange(TXTBIT_MULTILINE, multiLine ? TXTBIT_MULTILINE : 0);
}

void CNoWndEdit::SetVisible(BOOL visible) {
    if (!visible == !m_bVisible) return;
    m_bVisible = visible ? 1 : 0;
    if (!m_bVisible) Deactivate();
    if (m_hWnd) ::InvalidateRect(m_hWnd, &m_rcClient, TRUE);
}

void CNoWndEdit::Activate() {
    if (m_bActive) return;
    RegistryLock lock;
    for (CNoWndEdit* other : TheRegistry().hosts) {
        if (other == this || !other->m_bActive) continue;
        other->m_bActive = 0;
        other->Send(EM_HIDESELECTION, TRUE, 0);
        other->SendCharFormat(kGreyText);
        other->Send(WM_KILLFOCUS, 0, 0);
    }
    m_bActive = 1;
    SendCharFormat(m_cf.crTextColor);
    Send(WM_SETFOCUS, 0, 0);
}

void CNoWndEdit::Deactivate() {
    if (!m_bActive) return;
    m_bActive = 0;
    Send(WM_KILLFOCUS, 0, 0);
    Send(EM_HIDESELECTION, TRUE, 0);
    SendCharFormat(m_crInactive);
}

void CNoWndEdit::DrawHosts(HWND wnd, HDC dc) {
    RegistryLock lock;
    for (CNoWndEdit* host : TheRegistry().hosts) {
        if (host->m_hWnd != wnd || !host->m_bVisible || !host->m_pServices) continue;
        const RECTL bounds{host->m_rcClient.left, host->m_rcClient.top, host->m_rcClient.right,
                           host->m_rcClient.bottom};
        host->m_pServices->TxDraw(DVASPECT_CONTENT, 0, nullptr, nullptr, dc, nullptr, &bounds, nullptr, nullptr,
                                  nullptr, 0, TXTVIEW_ACTIVE);
    }
}

BOOL CNoWndEdit::RouteMessage(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INPUTLANGCHANGEREQUEST) {
        ::DefWindowProcA(wnd, message, wParam, lParam);
        return TRUE;
    }
    if (!IsKeyboardMessage(message) && !IsMouseMessage(message) && message != WM_IME_CHAR) return FALSE;
    RegistryLock lock;
    // Indexed, and the registry reread at each step: the services call back
    // into the window while a message is handled, and a host could go then.
    BOOL consumed = FALSE;
    const auto& hosts = TheRegistry().hosts;
    for (size_t i = 0; i < hosts.size(); ++i) {
        CNoWndEdit* host = hosts[i];
        if (host->m_hWnd != wnd || !host->m_bVisible) continue;
        if (host->HandleMessage(message, wParam, lParam)) consumed = TRUE;
    }
    return consumed;
}

bool CNoWndEdit::ToServicesChar(UINT message, WPARAM wParam, WPARAM* wide) {
    // The window is an ANSI window, so a double-byte character comes either
    // whole (WM_IME_CHAR, lead byte high) or as two WM_CHAR bytes in a row.
    // The services take UTF-16 only; a byte handed over on its own would
    // become a wrong character.
    char bytes[2];
    int count = 0;
    const BYTE low = LOBYTE(wParam);
    if (message == WM_IME_CHAR && HIBYTE(LOWORD(wParam))) {
        bytes[count++] = static_cast<char>(HIBYTE(LOWORD(wParam)));
        bytes[count++] = static_cast<char>(low);
    } else if (m_chLeadByte) {
        bytes[count++] = static_cast<char>(m_chLeadByte);
        bytes[count++] = static_cast<char>(low);
        m_chLeadByte = 0;
    } else if (low < 0x80) {
        *wide = low;
        return true;
    } else if (::IsDBCSLeadByte(low)) {
        m_chLeadByte = low;
        return false;
    } else {
        bytes[count++] = static_cast<char>(low);
    }
    wchar_t unit = 0;
    if (::MultiByteToWideChar(CP_ACP, 0, bytes, count, &unit, 1) != 1) return false;
    *wide = unit;
    return true;
}

BOOL CNoWndEdit::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if ((message == WM_KEYDOWN || message == WM_KEYUP) && wParam == VK_RETURN &&
        !(m_dwPropertyBits & TXTBIT_MULTILINE))
        return FALSE;
    if (IsMouseMessage(message)) {
        const POINT p{static_cast<LONG>(LOWORD(lParam)), static_cast<LONG>(HIWORD(lParam))};
        if (m_bActivateOnClick && message == WM_LBUTTONDOWN) {
            if (::PtInRect(&m_rcActivate, p) || ::PtInRect(&m_rcClient, p)) {
                Activate();
            } else {
                Deactivate();
                return FALSE;
            }
        }
        if (::PtInRect(&m_rcClient, p)) {
            ::SetCursor(::LoadCursorA(nullptr, IDC_IBEAM));
        } else if (message == WM_LBUTTONUP && m_bCaptured) {
            ::ReleaseCapture();
        } else {
            return FALSE;
        }
    }
    if (!m_bActive || !m_pServices) return FALSE;
    if (message == WM_LBUTTONDOWN) {
        ::SetCapture(m_hWnd);
        m_bCaptured = 1;
    }
    if (message == WM_CHAR || message == WM_IME_CHAR) {
        WPARAM wide = 0;
        // The first byte of a double-byte character is held back, and
        // consumed, until its second one comes.
        if (!ToServicesChar(message, wParam, &wide)) return TRUE;
        Send(WM_CHAR, wide, lParam);
        return TRUE;
    }
    Send(message, wParam, lParam);
    return TRUE;
}

HRESULT CNoWndEdit::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (!IsEqualIID(riid, kIidTextHost)) return E_NOINTERFACE;
    *ppv = static_cast<ITextHost*>(this);
    AddRef();
    return S_OK;
}

ULONG CNoWndEdit::AddRef() { return static_cast<ULONG>(++m_cRef); }

ULONG CNoWndEdit::Release() {
    const LONG count = --m_cRef;
    if (count == 0 && !m_bDestroying) delete this;
    return static_cast<ULONG>(count);
}

HDC CNoWndEdit::TxGetDC() { return ::GetWindowDC(m_hWnd); }
INT CNoWndEdit::TxReleaseDC(HDC hdc) { return ::ReleaseDC(m_hWnd, hdc); }

void CNoWndEdit::TxInvalidateRect(LPCRECT prc, WINBOOL fMode) {
    if (m_hWnd) ::InvalidateRect(m_hWnd, prc, fMode);
}

void CNoWndEdit::TxViewChange(WINBOOL) {
    if (m_hWnd) ::InvalidateRect(m_hWnd, &m_rcClient, TRUE);
}

WINBOOL CNoWndEdit::TxCreateCaret(HBITMAP hbmp, INT xWidth, INT yHeight) {
    return ::CreateCaret(m_hWnd, hbmp, xWidth, yHeight);
}

WINBOOL CNoWndEdit::TxShowCaret(WINBOOL fShow) {
    return (fShow && m_bVisible) ? ::ShowCaret(m_hWnd) : ::HideCaret(m_hWnd);
}

WINBOOL CNoWndEdit::TxSetCaretPos(INT x, INT y) { return ::SetCaretPos(x, y); }

void CNoWndEdit::TxSetCapture(WINBOOL fCapture) {
    if (fCapture)
        ::SetCapture(m_hWnd);
    else
        ::ReleaseCapture();
}

void CNoWndEdit::TxSetFocus() { ::SetFocus(m_hWnd); }
void CNoWndEdit::TxSetCursor(HCURSOR hcur, WINBOOL) { ::SetCursor(hcur); }
WINBOOL CNoWndEdit::TxScreenToClient(LPPOINT lppt) { return ::ScreenToClient(m_hWnd, lppt); }
WINBOOL CNoWndEdit::TxClientToScreen(LPPOINT lppt) { return ::ClientToScreen(m_hWnd, lppt); }

HRESULT CNoWndEdit::TxGetClientRect(LPRECT prc) {
    *prc = m_rcClient;
    return S_OK;
}

HRESULT CNoWndEdit::TxGetViewInset(LPRECT prc) {
    *prc = RECT{0, 0, 0, 0};
    return S_OK;
}

HRESULT CNoWndEdit::TxGetCharFormat(const CHARFORMATW** ppCF) {
    *ppCF = &m_cf;
    return S_OK;
}

HRESULT CNoWndEdit::TxGetParaFormat(const PARAFORMAT** ppPF) {
    *ppPF = &m_pf;
    return S_OK;
}

HRESULT CNoWndEdit::TxGetBackStyle(TXTBACKSTYLE* pstyle) {
    *pstyle = TXTBACK_TRANSPARENT;
    return S_OK;
}

HRESULT CNoWndEdit::TxGetMaxLength(DWORD* plength) {
    *plength = m_dwMaxLength;
    return S_OK;
}

HRESULT CNoWndEdit::TxGetScrollBars(DWORD* pdwScrollBar) {
    *pdwScrollBar = ES_AUTOVSCROLL | ES_AUTOHSCROLL;
    return S_OK;
}

HRESULT CNoWndEdit::TxGetPasswordChar(TCHAR* pch) {
    *pch = m_chPassword;
    return S_OK;
}

HRESULT CNoWndEdit::TxGetAcceleratorPos(LONG* pcp) {
    *pcp = -1;
    return S_OK;
}

HRESULT CNoWndEdit::TxGetPropertyBits(DWORD dwMask, DWORD* pdwBits) {
    *pdwBits = dwMask & m_dwPropertyBits;
    return S_OK;
}

HRESULT CNoWndEdit::TxGetSelectionBarWidth(LONG* lSelBarWidth) {
    *lSelBarWidth = 0;
    return S_OK;
}
