#include "framework/FileDialog.h"

#include <algorithm>
#include <vector>

#include "framework/FilterText.h"
#include "platform/AnsiText.h"
#include "platform/CommonDialogs.h"
#include "platform/ComApartment.h"

namespace {
// Room for the longest path the system knows, so a chosen path is never cut.
constexpr size_t kPathCapacity = 32768;
}  // namespace

CFileDialog::CFileDialog(const char* defaultName, DWORD flags, const char* filter, HWND owner)
    : m_strDefaultName(defaultName ? defaultName : ""), m_dwFlags(flags), m_strFilter(filter ? filter : ""),
      m_hOwner(owner) {}

INT_PTR CFileDialog::DoModal() {
    // The dialog's folder views are COM objects.
    ComApartment apartment;

    // "name\0pattern\0...\0\0"
    std::wstring filter;
    for (const auto& entry : ParseFileFilter(m_strFilter)) {
        filter += WidenAnsi(entry.first) + L'\0';
        filter += WidenAnsi(entry.second) + L'\0';
    }
    filter += L'\0';

    std::vector<wchar_t> file(kPathCapacity, L'\0');
    const std::wstring name = WidenAnsi(m_strDefaultName);
    name.copy(file.data(), std::min(name.size(), file.size() - 1));
    const std::wstring title = WidenAnsi(m_strTitle);

    // Without hooks or templates the system shows its newer dialog where it has one.
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = m_hOwner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.Flags = m_dwFlags | OFN_EXPLORER;
    if (!ShowSaveFileDialog(&ofn)) return IDCANCEL;
    m_path = file.data();
    return m_path.empty() ? IDCANCEL : IDOK;
}

std::string CFileDialog::GetPathName() const {
    if (m_path.empty()) return std::string();
    BOOL lossy = FALSE;
    const int n = ::WideCharToMultiByte(CP_ACP, 0, m_path.data(), static_cast<int>(m_path.size()), nullptr, 0,
                                        nullptr, &lossy);
    if (n <= 0 || lossy) return std::string();
    std::string text(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, m_path.data(), static_cast<int>(m_path.size()), &text[0], n, nullptr, nullptr);
    return text;
}
