#pragma once
#include <windows.h>

#include "framework/Geometry.h"
#include "platform/GdiHandles.h"

// How long the output paths wait for a clipboard that another program holds
// (clipboard managers and remote-desktop clients hold it for a moment).
inline constexpr int kClipboardPatienceMs = 1000;

// Empties the clipboard and hands it `bitmap` as CF_BITMAP, trying again
// while another program holds the clipboard, for up to `timeoutMs`. True when
// the clipboard took it (it owns it from then on); otherwise the caller still does.
bool PutBitmapOnClipboard(HBITMAP bitmap, HWND owner, int timeoutMs = kClipboardPatienceMs);

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

// The picture of the output paths: a display-compatible bitmap of the
// selection cut to the screen, less the two-pixel band inside its edges.
// Empty when that leaves no pixel (or the selection is empty).
UniqueBitmap GrabSelection(const Rect& selection, int screenWidth, int screenHeight);

enum class GrabResult {
    Copied,         // the clipboard holds the picture
    NothingToGrab,  // the selection leaves no pixel; the clipboard is as it was
    ClipboardBusy,  // another program kept the clipboard; nothing was copied
};

// GrabSelection, then the clipboard.
GrabResult GrabSelectionToClipboard(const Rect& selection, HWND clipboardOwner, int screenWidth, int screenHeight);
