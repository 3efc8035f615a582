#include "capture/KeyboardNudge.h"

namespace {
// Virtual-key codes of the arrow keys, which need no window system to name.
constexpr unsigned kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28;
}  // namespace

bool NudgeSelection(Rect& r, unsigned vk, bool shift) {
    int dx = 0, dy = 0;
    switch (vk) {
    case kLeft: dx = -1; break;
    case kUp: dy = -1; break;
    case kRight: dx = 1; break;
    case kDown: dy = 1; break;
    default: return false;
    }
    if (!shift) {
        r.left += dx;
        r.top += dy;
    }
    r.right += dx;
    r.bottom += dy;
    return true;
}
