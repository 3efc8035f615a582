#include "platform/Surface.h"

#include "platform/DibInfo.h"

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

HBITMAP CreateTopDownDib(int width, int height, void** bits) {
    BITMAPINFO bi = TopDownDib32(width, height);
    return ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, bits, nullptr, 0);
}

bool Surface::CreateDib(int width, int height) {
    if (!m_dc && !CreateContext()) return false;
    void* bits = nullptr;
    HBITMAP bmp = CreateTopDownDib(width, height, &bits);
    if (!bmp) return false;
    m_bitmap.reset(bmp);
    m_bits = bits;
    SelectBitmap(bmp);
    m_width = width;
    m_height = height;
    return true;
}

void Surface::RestoreBitmap() {
    if (m_dc && m_oldBitmap) ::SelectObject(m_dc.get(), m_oldBitmap);
    m_oldBitmap = nullptr;
}

void Surface::DeleteContext() {
    RestoreBitmap();
    m_dc.Release();
}

void Surface::DeleteBitmap() {
    // A bitmap still selected cannot be deleted; put the old one back first.
    if (m_dc) RestoreBitmap();
    m_bitmap.Release();
    m_bits = nullptr;
}
