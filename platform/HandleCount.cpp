#include "platform/HandleCount.h"

#include <windows.h>

#include <cstdio>

void ReportLiveHandles() {
    char path[MAX_PATH * 2] = {};
    const DWORD n = ::GetEnvironmentVariableA("SNAPCREST_HANDLE_LOG", path, sizeof path);
    if (n == 0 || n >= sizeof path) return;
    char line[64];
    const int length = std::snprintf(line, sizeof line, "owned=%ld images=%ld\r\n", LiveHandles::Owned().load(),
                                     LiveHandles::Images().load());
    HANDLE file = ::CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(file, line, static_cast<DWORD>(length), &written, nullptr);
    ::CloseHandle(file);
}
