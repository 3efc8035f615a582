#include "platform/BlendSprite.h"

bool BlendSprite::Capture(int width, int height, const std::function<void(HDC)>& draw) {
    Release();
    // A new DIB section is all zeros: transparent black.
    if (width <= 0 || height <= 0 || !m_surface.CreateDib(width, height)) return false;
    draw(m_surface.dc());
    ::GdiFlush();
    return true;
}

void BlendSprite::BlendOnto(HDC dc, int x, int y) const {
    if (!Ready()) return;
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::GdiAlphaBlend(dc, x, y, m_surface.width(), m_surface.height(), m_surface.dc(), 0, 0, m_surface.width(),
                    m_surface.height(), blend);
}

void BlendSprite::Release() {
    // The bitmap is selected out of its context before it goes.
    m_surface.DeleteBitmap();
    m_surface.DeleteContext();
}
