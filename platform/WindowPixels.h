#pragma once
#include <windows.h>

// Hands what the thread has drawn on its windows to the display now. The
// platform (Wine) does so whenever the thread waits for messages, sending the
// bounding box of everything drawn since the last time; this is such a wait,
// of no time, for nothing. It runs no window procedure of another thread's
// messages: only a look at the queue, as any wait does.
void HandOverWindowPixels();
