#include "platform/ModulePaths.h"

#include <windows.h>

#include <vector>

#include "platform/PathText.h"

bool ExecutablePath(std::string* path) {
    // Grow the buffer until the whole path fits: a path cut at the buffer's
    // size would name another file.
    for (DWORD size = MAX_PATH; size <= 32768 * 2; size *= 2) {
        std::vector<char> buffer(size, '\0');
        DWORD n = ::GetModuleFileNameA(nullptr, buffer.data(), size);
        if (n == 0) return false;
        if (n < size) {
            path->assign(buffer.data(), n);
            return true;
        }
    }
    return false;
}

void SetWorkingDirectoryToExecutable() {
    std::string exe;
    if (!ExecutablePath(&exe)) return;
    const std::string dir = DirectoryWithBackslash(exe);
    if (!dir.empty()) ::SetCurrentDirectoryA(dir.c_str());
}
