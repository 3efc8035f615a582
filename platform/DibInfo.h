#pragma once
#include <windows.h>

// The description of a DIB section of top-down rows, uncompressed, of 32
// bits per pixel (what the program draws on) or 24 (what it only keeps).
inline BITMAPINFO TopDownDib(int width, int height, WORD bitsPerPixel) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = bitsPerPixel;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

inline BITMAPINFO TopDownDib32(int width, int height) { return TopDownDib(width, height, 32); }
