#include "tests/support/PatternScreen.h"

#include "platform/DibInfo.h"
#include "tests/support/ScreenPixels.h"

uint32_t PatternScreen::ColourAt(int x, int y) {
    return Rgb(x & 0xFF, y & 0xFF, ((x >> 8) * 37 + (y >> 8) * 73) & 0xFF);
}

PatternScreen::PatternScreen() {
    w_ = GetSystemMetrics(SM_CXSCREEN);
    h_ = GetSystemMetrics(SM_CYSCREEN);
    pixels_.resize(static_cast<size_t>(w_) * h_);
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) pixels_[static_cast<size_t>(y) * w_ + x] = ColourAt(x, y);
    WNDCLASSA wc{};
    wc.lpfnWndProc = &PatternScreen::Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SnapcrestTestPattern";
    RegisterClassA(&wc);
    hwnd_ = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "", WS_POPUP, 0, 0, w_, h_, nullptr, nullptr,
                            wc.hInstance, nullptr);
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ShowWindow(hwnd_, SW_SHOW);
    InvalidateRect(hwnd_, nullptr, FALSE);
    for (int i = 0; i < 100; ++i) {
        Pump();
        Pixels probe = GrabScreenRect(0, 0, 64, 64);
        if (!probe.empty() && probe.at(63, 63) == ColourAt(63, 63) && probe.at(1, 2) == ColourAt(1, 2)) break;
        Sleep(20);
    }
}

PatternScreen::~PatternScreen() {
    DestroyWindow(hwnd_);
    Pump();
}

void PatternScreen::Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

LRESULT CALLBACK PatternScreen::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        auto* self = reinterpret_cast<PatternScreen*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (self) {
            BITMAPINFO bi = TopDownDib32(self->w_, self->h_);
            SetDIBitsToDevice(dc, 0, 0, self->w_, self->h_, 0, 0, 0, self->h_, self->pixels_.data(), &bi,
                              DIB_RGB_COLORS);
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}
