#include "framework/FileDialog.h"

#include <shobjidl.h>

#include <vector>

#include "framework/FilterText.h"
#include "platform/ComPtr.h"

namespace {
std::wstring Wide(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int n = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
    return wide;
}

}  // namespace

CFileDialog::CFileDialog(const char* defaultName, DWORD flags, const char* filter, HWND owner)
    : m_strDefaultName(defaultName ? defaultName : ""), m_dwFlags(flags), m_strFilter(filter ? filter : ""),
      m_hOwner(owner) {}

INT_PTR CFileDialog::DoModal() {
    ComApartment apartment;
    ComPtr<IFileSaveDialog> dialog;
    if (FAILED(::CoCreateInstance(CLSID_FileSaveDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileSaveDialog,
                                  reinterpret_cast<void**>(dialog.out()))))
        return IDCANCEL;

    FILEOPENDIALOGOPTIONS options = 0;
    dialog->GetOptions(&options);
    options |= FOS_FORCEFILESYSTEM;
    if (m_dwFlags & OFN_OVERWRITEPROMPT) options |= FOS_OVERWRITEPROMPT;
    else options &= ~static_cast<FILEOPENDIALOGOPTIONS>(FOS_OVERWRITEPROMPT);
    dialog->SetOptions(options);

    // The texts must outlive the call that takes them.
    std::vector<std::pair<std::wstring, std::wstring>> types;
    for (const auto& entry : ParseFileFilter(m_strFilter)) types.emplace_back(Wide(entry.first), Wide(entry.second));
    std::vector<COMDLG_FILTERSPEC> specs;
    for (const auto& t : types) specs.push_back(COMDLG_FILTERSPEC{t.first.c_str(), t.second.c_str()});
    if (!specs.empty()) dialog->SetFileTypes(static_cast<UINT>(specs.size()), specs.data());

    if (!m_strTitle.empty()) dialog->SetTitle(Wide(m_strTitle).c_str());
    if (!m_strDefaultName.empty()) dialog->SetFileName(Wide(m_strDefaultName).c_str());

    if (FAILED(dialog->Show(m_hOwner))) return IDCANCEL;
    ComPtr<IShellItem> item;
    if (FAILED(dialog->GetResult(item.out())) || !item.get()) return IDCANCEL;
    CoTaskString path;
    if (FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, path.out())) || !path.get()) return IDCANCEL;
    m_path = path.get();
    return IDOK;
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
