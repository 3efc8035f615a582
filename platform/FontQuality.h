#pragma once
#include <windows.h>

// The quality the system gives a font asked for with DEFAULT_QUALITY, from its
// font smoothing settings: NONANTIALIASED_QUALITY with smoothing off,
// CLEARTYPE_QUALITY with ClearType, ANTIALIASED_QUALITY with standard
// smoothing, DEFAULT_QUALITY when the system does not say. A font made with
// it is drawn as the default one. Fonts selected on every composition are
// made so: under Wine, selecting a font of default quality into a context of
// the display's looks the X server's font defaults up each time (when none
// are set, two file opens and more), and an explicit quality skips that.
BYTE SystemTextQuality();
