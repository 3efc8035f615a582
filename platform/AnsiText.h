#pragma once
// Text held as bytes of the system's ANSI code page, for the platform's
// interfaces that take UTF-16 only.
#include <windows.h>

#include <string>

inline std::wstring WidenAnsi(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int length = static_cast<int>(text.size());
    const int n = ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, &wide[0], n);
    return wide;
}
