#pragma once
#include <windows.h>
#include <commdlg.h>

// The platform's standard colour chooser, run modally. The sixteen custom
// colours belong to the process: what the user puts there in one run is
// offered again in the next, and they all start white.
class CColorDialog {
public:
    // An initial colour of 0 opens the chooser on black without asking it to
    // preselect anything.
    explicit CColorDialog(COLORREF initial = 0, DWORD flags = 0, HWND owner = nullptr);

    // IDOK when the user confirms a colour, IDCANCEL otherwise.
    INT_PTR DoModal();
    COLORREF GetColor() const { return m_cc.rgbResult; }

    // The process's custom colours (16 entries).
    static COLORREF* CustomColors();

    CHOOSECOLORA m_cc;
};
