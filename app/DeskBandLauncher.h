#pragma once

// Starts, on a thread of its own, the hand-over to the desk-band component:
// when its library lies beside the executable it is started through rundll32
// and the whole process ends; otherwise the thread just ends.
void StartDeskBandLauncher();
