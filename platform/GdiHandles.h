#pragma once
#include <windows.h>
#include <utility>

#include "platform/HandleCount.h"

// Owners of GDI handles: each handle is released exactly once, by its owner,
// on every path. Release() may be called early to honour an order; the
// destructor then does nothing more.
template <typename Handle, BOOL(WINAPI* Deleter)(Handle)>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : m_h(h) { Counted(h, 1); }
    ~UniqueHandle() { Release(); }
    UniqueHandle(UniqueHandle&& o) noexcept : m_h(std::exchange(o.m_h, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o) { Release(); m_h = std::exchange(o.m_h, nullptr); }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle get() const { return m_h; }
    explicit operator bool() const { return m_h != nullptr; }
    void reset(Handle h = nullptr) { Release(); m_h = h; Counted(h, 1); }
    // Gives up ownership (for a handle that now belongs to someone else).
    Handle release() { Counted(m_h, -1); return std::exchange(m_h, nullptr); }
    void Release() {
        if (m_h) { Deleter(m_h); Counted(m_h, -1); m_h = nullptr; }
    }

private:
    static void Counted(Handle h, long d) { if (h) LiveHandles::Add(LiveHandles::Owned(), d); }
    Handle m_h = nullptr;
};

template <typename T>
inline BOOL WINAPI DeleteTypedObject(T h) { return ::DeleteObject(h); }

using UniqueDC = UniqueHandle<HDC, ::DeleteDC>;
using UniqueBitmap = UniqueHandle<HBITMAP, DeleteTypedObject<HBITMAP>>;
using UniquePen = UniqueHandle<HPEN, DeleteTypedObject<HPEN>>;
using UniqueBrush = UniqueHandle<HBRUSH, DeleteTypedObject<HBRUSH>>;
using UniqueFont = UniqueHandle<HFONT, DeleteTypedObject<HFONT>>;
using UniqueRegion = UniqueHandle<HRGN, DeleteTypedObject<HRGN>>;
// A menu loaded from the resources.
using UniqueMenu = UniqueHandle<HMENU, ::DestroyMenu>;
// A kernel object (a thread, say).
using UniqueKernelHandle = UniqueHandle<HANDLE, ::CloseHandle>;

// A window's device context, given back to the window at the end.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd) : m_hwnd(hwnd), m_dc(::GetDC(hwnd)) {}
    ~WindowDC() { if (m_dc) ::ReleaseDC(m_hwnd, m_dc); }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return m_dc; }

private:
    HWND m_hwnd;
    HDC m_dc;
};

// A font of a size in tenths of a point, converted for the screen as the
// framework's CreatePointFont does (which leaves the quality to the system);
// null when it cannot be made.
inline HFONT CreatePointFontA(int tenthsOfPoint, const char* face, BYTE quality = DEFAULT_QUALITY) {
    LOGFONTA lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = quality;
    ::lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
    HDC screen = ::GetDC(nullptr);
    POINT size{0, ::MulDiv(::GetDeviceCaps(screen, LOGPIXELSY), tenthsOfPoint, 720)};
    POINT origin{0, 0};
    ::DPtoLP(screen, &size, 1);
    ::DPtoLP(screen, &origin, 1);
    ::ReleaseDC(nullptr, screen);
    lf.lfHeight = size.y > origin.y ? origin.y - size.y : size.y - origin.y;
    return ::CreateFontIndirectA(&lf);
}

// Selects an object into a DC for a scope and selects the previous one back.
class SelectScope {
public:
    SelectScope(HDC dc, HGDIOBJ obj) : m_dc(dc), m_old(obj ? ::SelectObject(dc, obj) : nullptr) {}
    ~SelectScope() { if (m_old) ::SelectObject(m_dc, m_old); }
    SelectScope(const SelectScope&) = delete;
    SelectScope& operator=(const SelectScope&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};
