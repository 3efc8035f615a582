#pragma once
// The platform's save-file dialog, shown modally to an owner window on the
// calling thread. Texts are in the ANSI code page; the filter is
// "name|pattern|name|pattern||". Nothing is added to the name the user
// gives: there is no default extension.
#include <windows.h>
#include <commdlg.h>

#include <string>

class CFileDialog {
public:
    CFileDialog(const char* defaultName, DWORD flags, const char* filter, HWND owner);
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    std::string m_strTitle;

    // IDOK once the user chose a name, IDCANCEL otherwise.
    INT_PTR DoModal();
    // The chosen full path in the ANSI code page; empty when it has
    // characters the code page cannot hold, so that no other file is written.
    std::string GetPathName() const;

private:
    std::string m_strDefaultName;
    DWORD m_dwFlags;
    std::string m_strFilter;
    HWND m_hOwner;
    std::wstring m_path;
};
