#include "platform/BlendSprite.h"

namespace {
// Below this many opaque pixels, copying them saves less than the four more
// calls that blending the rest takes.
constexpr long long kMinCopyPixels = 1024;
}  // namespace

bool BlendSprite::Capture(int width, int height, const std::function<void(HDC)>& draw) {
    Release();
    // A new DIB section is all zeros: transparent black.
    if (width <= 0 || height <= 0 || !m_surface.CreateDib(width, height)) return false;
    draw(m_surface.dc());
    ::GdiFlush();
    m_parts = SplitSprite(static_cast<const uint32_t*>(m_surface.bits()), width, height, kMinCopyPixels);
    return true;
}

void BlendSprite::BlendOnto(HDC dc, int x, int y) const {
    if (!Ready()) return;
    const Rect& c = m_parts.copy;
    if (!c.IsEmpty())
        ::BitBlt(dc, x + c.left, y + c.top, c.Width(), c.Height(), m_surface.dc(), c.left, c.top, SRCCOPY);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    for (const Rect& b : m_parts.blend)
        ::GdiAlphaBlend(dc, x + b.left, y + b.top, b.Width(), b.Height(), m_surface.dc(), b.left, b.top, b.Width(),
                        b.Height(), blend);
}

void BlendSprite::Release() {
    // The bitmap is selected out of its context before it goes.
    m_surface.DeleteBitmap();
    m_surface.DeleteContext();
    m_parts = SpriteParts{};
}
