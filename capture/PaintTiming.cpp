#include "capture/PaintTiming.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "platform/StartupClock.h"

PaintTiming::PaintTiming() : m_bLog(std::getenv("SNAPCREST_PAINT_LOG") != nullptr) {}

PaintTiming::~PaintTiming() {
    if (!m_bLog || m_samples.empty()) return;
    if (FILE* f = std::fopen(std::getenv("SNAPCREST_PAINT_LOG"), "a")) {
        for (size_t i = 0; i + 2 < m_samples.size(); i += 3)
            std::fprintf(f, "%.3f %.3f %d\n", m_samples[i], m_samples[i + 1], static_cast<int>(m_samples[i + 2]));
        std::fclose(f);
    }
}

double PaintTiming::Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void PaintTiming::PaintDone(double startMs, double composeMs, bool partial) {
    if (!m_bFirstPaintDone) {
        m_bFirstPaintDone = true;
        // Start-up benchmark: from the program's start to the first picture
        // handed to the window.
        if (const char* path = std::getenv("SNAPCREST_STARTUP_LOG")) {
            ::GdiFlush();
            const double ms = MsSinceProgramStart();
            if (FILE* f = std::fopen(path, "a")) {
                std::fprintf(f, "%.3f\n", ms);
                std::fclose(f);
            }
        }
    }
    if (!m_bLog || composeMs < 0) return;
    ::GdiFlush();
    m_samples.push_back(static_cast<float>(composeMs));
    m_samples.push_back(static_cast<float>(Now() - startMs));
    m_samples.push_back(partial ? 1.0f : 0.0f);
}
