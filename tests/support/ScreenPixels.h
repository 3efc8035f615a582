#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Pixels read back for checks: 32-bit 0x00RRGGBB values, top-down rows.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> data;
    uint32_t at(int x, int y) const { return data[static_cast<size_t>(y) * width + x]; }
    bool empty() const { return data.empty(); }
};

// The whole primary screen as it is displayed now.
Pixels GrabScreen();
// A rectangle of the screen.
Pixels GrabScreenRect(int x, int y, int w, int h);
// The pixels of a bitmap (device-dependent or DIB).
Pixels ReadBitmap(HBITMAP bitmap);
// The pixels of a DC's selected bitmap within (x, y, w, h).
Pixels ReadDC(HDC dc, int x, int y, int w, int h);
// The CF_BITMAP currently on the clipboard; empty when there is none.
Pixels ReadClipboardBitmap(HWND owner = nullptr);
// Writes pixels as a PNG (for looking at a failure); returns false on error.
bool SavePng(const Pixels& p, const std::wstring& path);

// The first position where a and b differ within the rectangle, as text, or
// empty when they agree. Both must cover at least the rectangle.
std::string FirstDifference(const Pixels& a, int ax, int ay, const Pixels& b, int bx, int by, int w, int h);

inline uint32_t Rgb(int r, int g, int b) {
    return (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) | static_cast<uint32_t>(b);
}
