#include "platform/Surface.h"

#include <atomic>
#include <cstdlib>
#include <utility>

#include "platform/DibInfo.h"

namespace {
// The test hook: SNAPCREST_FAIL_SURFACE=N refuses the N-th allocation of at
// least the screen's size in the process, counting from 1, as a machine short
// of memory would. Read once; without it the check is one comparison.
bool ScreenAllocationAllowed(int width, int height) {
    static const long refused = [] {
        char value[16] = {};
        const DWORD n = ::GetEnvironmentVariableA("SNAPCREST_FAIL_SURFACE", value, sizeof value);
        return n > 0 && n < sizeof value ? std::atol(value) : 0L;
    }();
    if (refused <= 0) return true;
    const long long screen = static_cast<long long>(::GetSystemMetrics(SM_CXSCREEN)) * ::GetSystemMetrics(SM_CYSCREEN);
    if (static_cast<long long>(width) * height < screen) return true;
    static std::atomic<long> made{0};
    return ++made != refused;
}
}  // namespace

Surface::~Surface() {
    RestoreBitmap();
    DeleteContext();
    DeleteBitmap();
}

bool Surface::CreateContext() {
    m_dc.reset(::CreateCompatibleDC(nullptr));
    return static_cast<bool>(m_dc);
}

void Surface::SelectBitmap(HBITMAP bitmap) {
    if (!m_dc || !bitmap) return;
    HGDIOBJ old = ::SelectObject(m_dc.get(), bitmap);
    if (!m_oldBitmap) m_oldBitmap = old;
    BITMAP bm{};
    if (::GetObjectA(bitmap, sizeof(bm), &bm)) {
        m_width = bm.bmWidth;
        m_height = bm.bmHeight;
    }
}

HBITMAP CreateTopDownDib(int width, int height, void** bits, WORD bitsPerPixel) {
    if (!ScreenAllocationAllowed(width, height)) return nullptr;
    BITMAPINFO bi = TopDownDib(width, height, bitsPerPixel);
    return ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, bits, nullptr, 0);
}

uint32_t* DibPixels(HDC dc, int w, int h) {
    DIBSECTION dib{};
    HGDIOBJ bitmap = ::GetCurrentObject(dc, OBJ_BITMAP);
    if (!bitmap || ::GetObjectA(bitmap, sizeof dib, &dib) != sizeof dib) return nullptr;
    if (dib.dsBm.bmBitsPixel != 32 || dib.dsBm.bmWidth != w || dib.dsBm.bmHeight != h) return nullptr;
    return static_cast<uint32_t*>(dib.dsBm.bmBits);
}

bool Surface::CreateDib(int width, int height) {
    if (!m_dc && !CreateContext()) return false;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateTopDownDib(width, height, &bits));
    return AdoptDib(std::move(bitmap), bits, width, height);
}

bool Surface::AdoptDib(UniqueBitmap bitmap, void* bits, int width, int height) {
    if (!bitmap || (!m_dc && !CreateContext())) return false;
    SelectBitmap(bitmap.get());
    m_bitmap = std::move(bitmap);
    m_bits = bits;
    m_width = width;
    m_height = height;
    return true;
}

void Surface::KeepFixedQualityFont() {
    if (!m_dc || m_restingFont) return;
    LOGFONTA font{};
    if (!::GetObjectA(::GetCurrentObject(m_dc.get(), OBJ_FONT), sizeof font, &font)) return;
    font.lfQuality = NONANTIALIASED_QUALITY;
    m_restingFont.reset(::CreateFontIndirectA(&font));
    if (m_restingFont) m_oldFont = ::SelectObject(m_dc.get(), m_restingFont.get());
}

void Surface::RestoreFont() {
    if (m_dc && m_oldFont) ::SelectObject(m_dc.get(), m_oldFont);
    m_oldFont = nullptr;
}

void Surface::RestoreBitmap() {
    if (m_dc && m_oldBitmap) ::SelectObject(m_dc.get(), m_oldBitmap);
    m_oldBitmap = nullptr;
}

void Surface::DeleteContext() {
    RestoreBitmap();
    RestoreFont();
    m_dc.Release();
    m_restingFont.Release();
}

void Surface::DeleteBitmap() {
    // A bitmap still selected cannot be deleted; put the old one back first.
    if (m_dc) RestoreBitmap();
    m_bitmap.Release();
    m_bits = nullptr;
}
