#include "capture/ScreenGrab.h"

#include "capture/GrabGeometry.h"

namespace {
// Opens the clipboard for `owner`, trying again while another program holds
// it, for up to `timeoutMs`.
bool OpenClipboardPatiently(HWND owner, int timeoutMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (::OpenClipboard(owner)) return true;
        if (static_cast<int>(::GetTickCount() - start) >= timeoutMs) return false;
        ::Sleep(10);
    }
}

// Copies the region of the screen into the top-left of bitmap.
void CopyFromScreen(HDC display, const GrabRegion& g, HBITMAP bitmap) {
    UniqueDC memory(::CreateCompatibleDC(display));
    SelectScope select(memory.get(), bitmap);
    ::BitBlt(memory.get(), 0, 0, g.width, g.height, display, g.srcX, g.srcY, SRCCOPY);
}
}  // namespace

bool PutBitmapOnClipboard(HBITMAP bitmap, HWND owner, int timeoutMs) {
    if (!bitmap || !OpenClipboardPatiently(owner, timeoutMs)) return false;
    ::EmptyClipboard();
    const bool taken = ::SetClipboardData(CF_BITMAP, bitmap) != nullptr;
    ::CloseClipboard();
    return taken;
}

bool CopyScreenRect(const Rect& rect, HBITMAP* bitmap, bool toClipboard, HWND clipboardOwner, int screenWidth,
                    int screenHeight) {
    const GrabRegion g = ComputeGrabRegion(rect, screenWidth, screenHeight, toClipboard);
    if (!g.valid || !bitmap || !*bitmap) return false;

    {
        UniqueDC display(::CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
        CopyFromScreen(display.get(), g, *bitmap);
    }
    return toClipboard && PutBitmapOnClipboard(*bitmap, clipboardOwner);
}

UniqueBitmap GrabSelection(const Rect& selection, int screenWidth, int screenHeight) {
    const GrabRegion g = ComputeGrabRegion(selection, screenWidth, screenHeight, true);
    if (!g.valid) return UniqueBitmap();
    UniqueDC display(::CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
    UniqueBitmap bitmap(::CreateCompatibleBitmap(display.get(), g.width, g.height));
    if (bitmap) CopyFromScreen(display.get(), g, bitmap.get());
    return bitmap;
}

GrabResult GrabSelectionToClipboard(const Rect& selection, HWND clipboardOwner, int screenWidth, int screenHeight) {
    UniqueBitmap bitmap = GrabSelection(selection, screenWidth, screenHeight);
    if (!bitmap) return GrabResult::NothingToGrab;
    if (!PutBitmapOnClipboard(bitmap.get(), clipboardOwner)) return GrabResult::ClipboardBusy;
    bitmap.release();  // the clipboard owns it now
    return GrabResult::Copied;
}
