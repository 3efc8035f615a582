#pragma once
// The system's file and colour dialogs, from a library loaded when a dialog is
// first asked for. Linked at start-up, that library and what it pulls in cost
// every launch tens of milliseconds under Wine, and most captures never open
// a dialog. Each call answers FALSE, as a cancelled dialog does, when the
// library cannot be had.
#include <windows.h>
#include <commdlg.h>

BOOL ShowSaveFileDialog(OPENFILENAMEW* ofn);
BOOL ShowColourDialog(CHOOSECOLORA* cc);
