#include "capture/ScreenGrab.h"

#include "capture/GrabGeometry.h"
#include "platform/GdiHandles.h"

bool CopyScreenRect(const Rect& rect, HBITMAP* bitmap, bool toClipboard, HWND clipboardOwner, int screenWidth,
                    int screenHeight) {
    const GrabRegion g = ComputeGrabRegion(rect, screenWidth, screenHeight, toClipboard);
    if (!g.valid || !bitmap || !*bitmap) return false;

    UniqueDC display(::CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
    UniqueDC memory(::CreateCompatibleDC(display.get()));
    HGDIOBJ old = ::SelectObject(memory.get(), *bitmap);
    ::BitBlt(memory.get(), 0, 0, g.width, g.height, display.get(), g.srcX, g.srcY, SRCCOPY);
    *bitmap = static_cast<HBITMAP>(::SelectObject(memory.get(), old));
    memory.Release();
    display.Release();

    if (!toClipboard || !::OpenClipboard(clipboardOwner)) return false;
    ::EmptyClipboard();
    const bool taken = ::SetClipboardData(CF_BITMAP, *bitmap) != nullptr;
    ::CloseClipboard();
    return taken;
}

bool GrabSelectionToClipboard(const Rect& selection, HWND clipboardOwner, int screenWidth, int screenHeight) {
    const GrabRegion g = ComputeGrabRegion(selection, screenWidth, screenHeight, true);
    if (!g.valid) return false;
    UniqueDC display(::CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
    UniqueBitmap bitmap(::CreateCompatibleBitmap(display.get(), g.width, g.height));
    display.Release();
    if (!bitmap) return false;
    HBITMAP handle = bitmap.get();
    if (!CopyScreenRect(selection, &handle, true, clipboardOwner, screenWidth, screenHeight)) return false;
    bitmap.release();  // the clipboard owns it now
    return true;
}
