#pragma once
// The notification area's icon calls, from the shell's library loaded when
// first asked for: linked, that library and what it pulls in are mapped into
// every capture, which never needs them before its end.
#include <windows.h>
#include <shellapi.h>

// Shell_NotifyIconA; FALSE when the library cannot be had.
BOOL NotifyTrayIcon(DWORD message, NOTIFYICONDATAA* data);
