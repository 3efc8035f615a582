#include <windows.h>

#include "app/SnapcrestApp.h"

// The one application object, constructed before anything else runs.
CSnapcrestApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return theApp.Run(instance); }
