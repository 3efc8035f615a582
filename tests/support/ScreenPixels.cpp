#include "tests/support/ScreenPixels.h"

#include "platform/DibInfo.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cstdio>

namespace {
Pixels ReadFromDC(HDC src, int x, int y, int w, int h) {
    Pixels p;
    if (w <= 0 || h <= 0) return p;
    BITMAPINFO bi = TopDownDib32(w, h);
    void* bits = nullptr;
    HDC mem = CreateCompatibleDC(src);
    HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib) {
        DeleteDC(mem);
        return p;
    }
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, w, h, src, x, y, SRCCOPY);
    GdiFlush();
    p.width = w;
    p.height = h;
    p.data.resize(static_cast<size_t>(w) * h);
    const uint32_t* px = static_cast<const uint32_t*>(bits);
    for (size_t i = 0; i < p.data.size(); ++i) p.data[i] = px[i] & 0x00FFFFFFu;
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    return p;
}
}  // namespace

Pixels GrabScreenRect(int x, int y, int w, int h) {
    HDC screen = GetDC(nullptr);
    Pixels p = ReadFromDC(screen, x, y, w, h);
    ReleaseDC(nullptr, screen);
    return p;
}

Pixels GrabScreen() { return GrabScreenRect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)); }

Pixels ReadDC(HDC dc, int x, int y, int w, int h) { return ReadFromDC(dc, x, y, w, h); }

Pixels ReadBitmap(HBITMAP bitmap) {
    Pixels p;
    BITMAP bm{};
    if (!bitmap || !GetObjectA(bitmap, sizeof(bm), &bm)) return p;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, bitmap);
    p = ReadFromDC(mem, 0, 0, bm.bmWidth, bm.bmHeight);
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return p;
}

Pixels ReadClipboardBitmap(HWND owner) {
    Pixels p;
    if (!OpenClipboard(owner)) return p;
    HBITMAP bmp = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    if (bmp) p = ReadBitmap(bmp);
    CloseClipboard();
    return p;
}

bool SavePng(const Pixels& p, const std::wstring& path) {
    using namespace Gdiplus;
    using namespace Gdiplus::DllExports;
    static ULONG_PTR token = 0;
    if (!token) {
        GdiplusStartupInput input;
        GdiplusStartup(&token, &input, nullptr);
    }
    if (p.empty()) return false;
    std::vector<uint32_t> argb(p.data.size());
    for (size_t i = 0; i < argb.size(); ++i) argb[i] = p.data[i] | 0xFF000000u;
    GpBitmap* bmp = nullptr;
    if (GdipCreateBitmapFromScan0(p.width, p.height, p.width * 4, PixelFormat32bppARGB,
                                  reinterpret_cast<BYTE*>(argb.data()), &bmp) != Ok)
        return false;
    // The PNG encoder's class id.
    UINT num = 0, size = 0;
    GdipGetImageEncodersSize(&num, &size);
    std::vector<BYTE> buf(size);
    ImageCodecInfo* codecs = reinterpret_cast<ImageCodecInfo*>(buf.data());
    GdipGetImageEncoders(num, size, codecs);
    bool ok = false;
    for (UINT i = 0; i < num; ++i) {
        if (wcscmp(codecs[i].MimeType, L"image/png") == 0) {
            ok = GdipSaveImageToFile(bmp, path.c_str(), &codecs[i].Clsid, nullptr) == Ok;
            break;
        }
    }
    GdipDisposeImage(bmp);
    return ok;
}

std::string FirstDifference(const Pixels& a, int ax, int ay, const Pixels& b, int bx, int by, int w, int h) {
    long count = 0;
    std::string first;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            uint32_t pa = a.at(ax + x, ay + y), pb = b.at(bx + x, by + y);
            if (pa != pb) {
                if (count == 0) {
                    char text[160];
                    std::snprintf(text, sizeof text, "first difference at (%d, %d): %06X vs %06X", ax + x, ay + y,
                                  static_cast<unsigned>(pa), static_cast<unsigned>(pb));
                    first = text;
                }
                ++count;
            }
        }
    }
    if (count) first += " (" + std::to_string(count) + " pixels differ)";
    return first;
}
