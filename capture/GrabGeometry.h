#pragma once
#include "framework/Geometry.h"

// Where a screen grab reads and how large it is. The selection is cut to the
// screen first; a grab for the clipboard then leaves out the two-pixel band
// inside the selection's edges in which the tracker's outline and handles lie.
struct GrabRegion {
    int srcX = 0;
    int srcY = 0;
    int width = 0;
    int height = 0;
    bool valid = false;  // false: nothing is to be grabbed
};

// The selection cut to a screen of screenWidth x screenHeight.
Rect ClipToScreen(const Rect& selection, int screenWidth, int screenHeight);

// An empty (or inverted) selection grabs nothing; nor does one whose clipped
// size leaves no pixel after the margin is taken off.
GrabRegion ComputeGrabRegion(const Rect& selection, int screenWidth, int screenHeight, bool toClipboard);
