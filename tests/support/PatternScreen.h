#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

// A topmost full-screen window of the test program showing a picture in which
// neighbouring pixels differ, so that whatever a session snapshots or grabs
// from the screen is known pixel for pixel. The constructor returns once the
// screen shows it.
class PatternScreen {
public:
    PatternScreen();
    ~PatternScreen();
    PatternScreen(const PatternScreen&) = delete;
    PatternScreen& operator=(const PatternScreen&) = delete;

    static uint32_t ColourAt(int x, int y);
    uint32_t at(int x, int y) const { return ColourAt(x, y); }
    HWND hwnd() const { return hwnd_; }
    // Dispatches the test thread's pending messages.
    static void Pump();

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    HWND hwnd_ = nullptr;
    int w_ = 0, h_ = 0;
    std::vector<uint32_t> pixels_;
};
