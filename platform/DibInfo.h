#pragma once
#include <windows.h>

// The description of a DIB section of 32 bits per pixel, top-down rows,
// uncompressed: the only kind the program and its tests make.
inline BITMAPINFO TopDownDib32(int width, int height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}
