#pragma once
#include "framework/Geometry.h"

// One key-down of an arrow key moves the selection by a pixel; with Shift it
// moves only the right or bottom edge, making the selection narrower, wider,
// lower or taller. The rectangle is taken as stored (possibly inverted) and is
// not limited to the screen. Returns false, leaving the rectangle alone, for
// any other key.
bool NudgeSelection(Rect& selection, unsigned virtualKey, bool shift);
