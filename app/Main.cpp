#include <windows.h>

#include "app/SnapcrestApp.h"
#include "platform/StartupClock.h"

// The one application object, constructed before anything else runs (the
// clock is marked first, for the start-up benchmark).
static const bool g_clockMarked = (MarkProgramStart(), true);
CSnapcrestApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return theApp.Run(instance); }
