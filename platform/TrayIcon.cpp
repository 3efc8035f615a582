#include "platform/TrayIcon.h"

BOOL NotifyTrayIcon(DWORD message, NOTIFYICONDATAA* data) {
    // Kept for the rest of the process, like a linked library.
    static HMODULE library = ::LoadLibraryA("shell32.dll");
    static const auto notify = reinterpret_cast<BOOL(WINAPI*)(DWORD, NOTIFYICONDATAA*)>(
        reinterpret_cast<void*>(library ? ::GetProcAddress(library, "Shell_NotifyIconA") : nullptr));
    return notify ? notify(message, data) : FALSE;
}
