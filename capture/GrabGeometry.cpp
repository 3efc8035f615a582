#include "capture/GrabGeometry.h"

Rect ClipToScreen(const Rect& s, int screenWidth, int screenHeight) {
    Rect c;
    c.left = s.left < 0 ? 0 : s.left;
    c.top = s.top < 0 ? 0 : s.top;
    c.right = s.right > screenWidth ? screenWidth : s.right;
    c.bottom = s.bottom > screenHeight ? screenHeight : s.bottom;
    return c;
}

GrabRegion ComputeGrabRegion(const Rect& selection, int screenWidth, int screenHeight, bool toClipboard) {
    GrabRegion g;
    if (selection.IsEmpty()) return g;
    const Rect c = ClipToScreen(selection, screenWidth, screenHeight);
    const int margin = toClipboard ? 2 : 0;
    g.srcX = c.left + margin;
    g.srcY = c.top + margin;
    g.width = c.Width() - 2 * margin;
    g.height = c.Height() - 2 * margin;
    g.valid = g.width > 0 && g.height > 0;
    return g;
}
