#include "platform/WindowPixels.h"

void HandOverWindowPixels() { ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, 0); }
