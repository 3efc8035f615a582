#include "framework/ColorDialog.h"

#include "platform/CommonDialogs.h"

COLORREF* CColorDialog::CustomColors() {
    static COLORREF colours[16] = {
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    };
    return colours;
}

CColorDialog::CColorDialog(COLORREF initial, DWORD flags, HWND owner) : m_cc{} {
    m_cc.lStructSize = sizeof m_cc;
    m_cc.hwndOwner = owner;
    m_cc.rgbResult = initial;
    m_cc.lpCustColors = CustomColors();
    m_cc.Flags = flags;
    if (initial != 0) m_cc.Flags |= CC_RGBINIT;
}

INT_PTR CColorDialog::DoModal() { return ShowColourDialog(&m_cc) ? IDOK : IDCANCEL; }
