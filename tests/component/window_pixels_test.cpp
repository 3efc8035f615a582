// What is drawn on a window reaches the display when the program hands it
// over, not before: the drag's changes are shown in groups on that basis.
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/GdiHandles.h"
#include "platform/WindowPixels.h"

namespace {

constexpr int kW = 240, kH = 120;

LRESULT CALLBACK BlackWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return 1;
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        ::FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

// The colour the display shows at (x, y), read from the screen rather than
// from the window's own pixels.
COLORREF Shown(int x, int y) { return ::GetPixel(WindowDC(nullptr).get(), x, y); }

void Fill(HWND hwnd, const RECT& r, COLORREF colour) {
    UniqueBrush brush(::CreateSolidBrush(colour));
    ::FillRect(WindowDC(hwnd).get(), &r, brush.get());
}

// Lets the window be mapped and painted, and everything drawn so far shown.
void Settle() {
    for (int i = 0; i < 20; ++i) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
        ::Sleep(20);
    }
}

TEST(WindowPixelsTest, DrawingReachesTheDisplayAtTheHandOver) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = BlackWindowProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "WindowPixelsTest";
    ::RegisterClassA(&wc);
    // Destroyed on every path, an assertion's early return included.
    const UniqueHandle<HWND, ::DestroyWindow> window(::CreateWindowExA(
        WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, "", WS_POPUP, 0, 0, kW, kH, nullptr, nullptr, wc.hInstance, nullptr));
    const HWND hwnd = window.get();
    ASSERT_NE(hwnd, nullptr);
    ::ShowWindow(hwnd, SW_SHOW);
    ::UpdateWindow(hwnd);
    Settle();
    ASSERT_EQ(Shown(30, 30), RGB(0, 0, 0)) << "the window is not on the display";

    // Drawn and handed over: shown, with nothing else done in between.
    Fill(hwnd, RECT{20, 20, 60, 60}, RGB(255, 0, 0));
    HandOverWindowPixels();
    EXPECT_EQ(Shown(30, 30), RGB(255, 0, 0));

    // Drawn and not yet handed over: the display still shows what it did,
    // which is why the hand-over is needed at all.
    Fill(hwnd, RECT{120, 20, 160, 60}, RGB(0, 255, 0));
    EXPECT_EQ(Shown(130, 30), RGB(0, 0, 0));
    HandOverWindowPixels();
    EXPECT_EQ(Shown(130, 30), RGB(0, 255, 0));
    EXPECT_EQ(Shown(30, 30), RGB(255, 0, 0));
}

}  // namespace
