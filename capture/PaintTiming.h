#pragma once
// Timing of a session's paints for the benchmarks, kept apart from painting.
// Off unless the environment asks for it: SNAPCREST_PAINT_LOG names a file
// that receives one line per composition ("compose-ms paint-ms partial"), and
// SNAPCREST_STARTUP_LOG one that receives the time from the program's start
// to its first paint.
#include <vector>

class PaintTiming {
public:
    PaintTiming();
    ~PaintTiming();
    PaintTiming(const PaintTiming&) = delete;
    PaintTiming& operator=(const PaintTiming&) = delete;

    // A clock in milliseconds.
    static double Now();
    // Called at the end of every paint, with the time the paint began, the
    // time composing took (negative when the paint did not compose) and
    // whether only part of the picture was composed.
    void PaintDone(double startMs, double composeMs, bool partial);

private:
    bool m_bLog = false;
    bool m_bFirstPaintDone = false;
    std::vector<float> m_samples;  // compose, paint, partial; written out at the end
};
