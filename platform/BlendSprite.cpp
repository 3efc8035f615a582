#include "platform/BlendSprite.h"

#include <atomic>
#include <cstring>
#include <mutex>

namespace {
// Below this many opaque pixels, copying them saves less than the four more
// calls that blending the rest takes.
constexpr long long kMinCopyPixels = 1024;

UnderTable g_under;
std::atomic<bool> g_bUnderLearned{false};
std::once_flag g_learning;

// Blends a 256 x 256 sprite, whose row a holds pixels of alpha a with each
// colour byte own(a), onto rows of every byte value 0..255 (all four bytes
// of a pixel alike), with the platform; then hands each result to
// look(a, byte under, result) until it returns false.
template <typename Own, typename Look>
bool BlendRamp(const Own& own, const Look& look) {
    constexpr int kSide = 256;
    Surface sprite, ramp;
    if (!sprite.CreateDib(kSide, kSide) || !ramp.CreateDib(kSide, kSide)) return false;
    auto* s = static_cast<uint32_t*>(sprite.bits());
    auto* d = static_cast<uint32_t*>(ramp.bits());
    for (int a = 0; a < kSide; ++a)
        for (int v = 0; v < kSide; ++v) {
            s[a * kSide + v] = static_cast<uint32_t>(a) << 24 | own(a) * 0x010101u;
            d[a * kSide + v] = static_cast<uint32_t>(v) * 0x01010101u;
        }
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    if (!::GdiAlphaBlend(ramp.dc(), 0, 0, kSide, kSide, sprite.dc(), 0, 0, kSide, kSide, blend)) return false;
    ::GdiFlush();
    for (int a = 0; a < kSide; ++a)
        for (int v = 0; v < kSide; ++v)
            if (!look(a, v, d[a * kSide + v])) return false;
    return true;
}

bool LearnUnder(UnderTable& under) {
    // One table stands for the platform if every byte comes out as the
    // pixel's own byte plus what the table says of the byte under it, for
    // the pixel's alpha. Learned from a pixel with no colour (its alpha byte
    // gets its alpha on top, as every byte gets the pixel's own), and checked
    // for it, for the most colour a premultiplied pixel can have and for half.
    auto agrees = [&under](uint32_t own, int a, int v, uint32_t result) {
        const uint32_t u = under[a][v], alpha = static_cast<uint32_t>(a) + u;
        return alpha <= 255 && result == (alpha << 24 | (own + u) * 0x010101u);
    };
    const bool learned = BlendRamp([](int) { return 0u; }, [&](int a, int v, uint32_t result) {
        under[a][v] = static_cast<uint8_t>(result & 0xFF);
        return agrees(0, a, v, result);
    });
    return learned &&
           BlendRamp([](int a) { return static_cast<uint32_t>(a); },
                     [&](int a, int v, uint32_t result) { return agrees(static_cast<uint32_t>(a), a, v, result); }) &&
           BlendRamp([](int a) { return static_cast<uint32_t>(a / 2); },
                     [&](int a, int v, uint32_t result) { return agrees(static_cast<uint32_t>(a / 2), a, v, result); });
}
}  // namespace

void BlendSprite::LearnPlatformBlending() {
    // Readers look at the table only once it is written in full.
    std::call_once(g_learning, [] {
        if (LearnUnder(g_under)) g_bUnderLearned.store(true, std::memory_order_release);
    });
}

bool BlendSprite::Capture(int width, int height, const std::function<void(HDC)>& draw) {
    Release();
    // A new DIB section is all zeros: transparent black.
    if (width <= 0 || height <= 0 || !m_surface.CreateDib(width, height)) return false;
    draw(m_surface.dc());
    ::GdiFlush();
    const auto* pixels = static_cast<const uint32_t*>(m_surface.bits());
    m_parts = SplitSprite(pixels, width, height, kMinCopyPixels);
    m_bPremultiplied = true;
    for (long long i = 0, n = static_cast<long long>(width) * height; i < n && m_bPremultiplied; ++i) {
        const uint32_t p = pixels[i], a = p >> 24;
        m_bPremultiplied = (p & 0xFF) <= a && (p >> 8 & 0xFF) <= a && (p >> 16 & 0xFF) <= a;
    }
    return true;
}

bool BlendSprite::PlatformBlendingLearned() { return g_bUnderLearned.load(std::memory_order_acquire); }

void BlendSprite::BlendOnto(const PixelTarget& target, HDC dc, int x, int y) const {
    if (!Ready()) return;
    if (!target || !m_bPremultiplied || !g_bUnderLearned.load(std::memory_order_acquire)) {
        BlendOnto(dc, x, y);
        return;
    }
    const auto* sprite = static_cast<const uint32_t*>(m_surface.bits());
    // What the context drew last must be in the memory first.
    ::GdiFlush();
    target.CopyFrom(sprite, Width(), m_parts.copy, x, y);
    for (const Rect& b : m_parts.blend)
        target.EachAllowed(b.Offset(x, y), [&](const Rect& area) {
            BlendOver(target.bits, target.width, sprite, Width(), Point{x, y}, area, g_under);
        });
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
