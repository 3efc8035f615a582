#pragma once
#include <windows.h>

// Hands what the thread has drawn on its windows to the display now. The
// platform (Wine) sends a window's pixels to the X server as the bounding box
// of everything drawn since the last time, whenever the thread checks for
// input from the display and finds none waiting. A wait for messages does
// so too, but costs two or three requests to the server and a yield of the
// processor; asking the state of a key no keyboard has does it alone, and the
// answer, kept for 50 ms by the platform, needs no request. Input found
// waiting is queued in order, as the message loop would queue it, and no
// handler runs; the pixels then go with the next hand-over, in a larger box.
void HandOverWindowPixels();
