// Resource and command identifiers of the executable.
#pragma once

#define IDR_MAINFRAME 128          // window icon
#define IDD_SNAPCREST_DIALOG 102   // the capture session
#define IDD_SHOWPOINT 140          // the invisible host
#define IDC_SESSION_CURSOR 129     // the session's ordinary pointer
#define IDC_SIZE_NWSE 132          // diagonal double arrow, top-left to bottom-right
#define IDC_SIZE_NESW 133          // diagonal double arrow, top-right to bottom-left
#define IDC_SIZE_ALL 134           // four-way arrow (move)
#define IDC_SIZE_WE 135            // horizontal double arrow
#define IDC_SIZE_NS 136            // vertical double arrow
#define IDR_ACCELERATOR 142
#define IDR_TRAY_MENU 151

#define ID_UNDO 32771              // Ctrl+Z
#define ID_CTRL_K 32772            // Ctrl+K, bound but unused
#define ID_RELAUNCH 32776
#define ID_SHOW_TASKBAR 32777
#define ID_EXIT 32778
