#pragma once
// The screen grabbed on a worker thread as soon as the program starts, for the
// capture that start-up opens: the grab then runs while the host window is
// being made, instead of between the start-up timer and the first frame.
#include <windows.h>

#include <memory>

#include "platform/GdiHandles.h"

// A snapshot of the whole primary screen in a 24-bit top-down DIB section:
// it is only ever copied from, and at three bytes a pixel it holds a quarter
// less memory than a surface drawn on.
inline constexpr int kSnapshotBytesPerPixel = 3;
struct ScreenSnapshot {
    UniqueBitmap bitmap;
    void* bits = nullptr;
    int width = 0;
    int height = 0;
};

// Grabs the screen now into a new snapshot; empty (no bitmap) on failure.
std::unique_ptr<ScreenSnapshot> GrabWholeScreen();

class EarlySnapshot {
public:
    EarlySnapshot() = default;
    ~EarlySnapshot();
    EarlySnapshot(const EarlySnapshot&) = delete;
    EarlySnapshot& operator=(const EarlySnapshot&) = delete;

    // Starts the grab on a worker thread.
    void Start();
    // The grab, once it is done; null when none was started, it failed, it
    // was taken already, or the screen's size changed since.
    std::unique_ptr<ScreenSnapshot> Take();

private:
    UniqueKernelHandle m_thread;
    std::unique_ptr<ScreenSnapshot> m_shot;
};
