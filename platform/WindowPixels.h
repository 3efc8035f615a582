#pragma once
#include <windows.h>

// Hands what the thread has drawn on its windows to the display now. The
// platform (Wine) does so whenever the thread waits for messages, sending the
// bounding box of everything drawn since the last time; this is such a wait,
// of no time and for no kind of message, so that it takes in no input (the
// pointer's moves stay in the order the normal message loop sees them) and
// runs no other handler.
void HandOverWindowPixels();
