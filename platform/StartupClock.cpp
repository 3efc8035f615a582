#include "platform/StartupClock.h"

#include <windows.h>

namespace {
LARGE_INTEGER g_start{};

double Ms(const LARGE_INTEGER& t) {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}
}  // namespace

void MarkProgramStart() { ::QueryPerformanceCounter(&g_start); }

double MsSinceProgramStart() {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return Ms(now) - Ms(g_start);
}
