#include "platform/WindowPixels.h"

namespace {
// A virtual-key code no keyboard sends (0x0A is reserved).
constexpr int kUnusedKey = 0x0A;
}  // namespace

void HandOverWindowPixels() { ::GetAsyncKeyState(kUnusedKey); }
