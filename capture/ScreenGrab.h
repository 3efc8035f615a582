#pragma once
#include <windows.h>

#include "framework/Geometry.h"

// Copies a rectangle of the live screen (what the display shows now, the
// capture window included) into bitmap, which must already be large enough.
// With toClipboard the two-pixel band inside the rectangle's edges is left out
// and the bitmap is handed to the clipboard, opened for clipboardOwner.
// An empty or inverted rectangle, or one that leaves no pixel once clipped to
// the screen and trimmed, copies nothing and leaves the clipboard as it was.
// Returns true when the bitmap now belongs to the clipboard; otherwise the
// caller still owns it.
bool CopyScreenRect(const Rect& rect, HBITMAP* bitmap, bool toClipboard, HWND clipboardOwner, int screenWidth,
                    int screenHeight);

// The grab of the output paths: a display-compatible bitmap of the clipped,
// trimmed selection, filled from the screen and put on the clipboard. Nothing
// happens for a selection that leaves no pixel. True when the clipboard took it.
bool GrabSelectionToClipboard(const Rect& selection, HWND clipboardOwner, int screenWidth, int screenHeight);
