#include "app/DeskBandLauncher.h"

#include <windows.h>
#include <process.h>

#include "app/CommandLine.h"
#include "platform/ModulePaths.h"

namespace {
unsigned __stdcall LauncherThread(void*) {
    std::string exe;
    // A path that does not fit is never used cut short.
    if (!ExecutablePath(&exe)) return 0;
    // Nor is a command line too long for the launcher's buffer.
    const std::string command = DeskBandCommandFor(exe);
    if (command.empty()) return 0;
    // Asked of the file system itself: the shell's path helpers would map
    // their library into every capture for this one question.
    if (::GetFileAttributesA(DeskBandLibraryPath(exe).c_str()) == INVALID_FILE_ATTRIBUTES) return 0;
    ::WinExec(command.c_str(), SW_SHOW);
    ::ExitProcess(0);
}
}  // namespace

void StartDeskBandLauncher() {
    uintptr_t thread = _beginthreadex(nullptr, 0, &LauncherThread, nullptr, 0, nullptr);
    if (thread) ::CloseHandle(reinterpret_cast<HANDLE>(thread));
}
