#pragma once
// A fixed item that the imaging library blends onto a surface (an image at its
// own size, a translucent fill, an image drawn with a constant alpha), kept in
// the form the library blends it from.
//
// The library draws such an item by making its premultiplied pixels in a
// temporary and alpha-blending that onto the surface, which leaves transparent
// black exactly as those pixels. So drawing the item once onto transparent
// black captures them, and blending the capture wherever the item goes gives
// the pixels the library would: without the per-draw conversion and
// temporaries that make up most of its cost. Where the capture is opaque it
// is copied rather than blended, which gives the same pixels.
#include <functional>

#include "platform/PixelTarget.h"
#include "platform/SpriteParts.h"
#include "platform/Surface.h"

class BlendSprite {
public:
    BlendSprite() = default;
    BlendSprite(const BlendSprite&) = delete;
    BlendSprite& operator=(const BlendSprite&) = delete;

    // Captures what `draw` puts on a width x height surface at its origin.
    bool Capture(int width, int height, const std::function<void(HDC)>& draw);
    // Blends the capture with its top-left corner at (x, y), within the
    // context's clipping, as the library's drawing would.
    void BlendOnto(HDC dc, int x, int y) const;
    // The same straight into the memory `dc` draws on, once the platform's
    // blending is learned (else through the platform). It spares the
    // platform's per-call work and its blending loop, on every step of a drag.
    void BlendOnto(const PixelTarget& target, HDC dc, int x, int y) const;
    // Learns, once per process, what the platform's blending makes of each
    // byte under each alpha, and checks that it adds the pixel's own bytes as
    // they are; until then, or if it does not, blending goes through the
    // platform. It blends three surfaces of 256 x 256: meant for a
    // background job.
    static void LearnPlatformBlending();
    static bool PlatformBlendingLearned();
    bool Ready() const { return m_surface.bits() != nullptr; }
    int Width() const { return m_surface.width(); }
    int Height() const { return m_surface.height(); }
    void Release();

private:
    Surface m_surface;
    SpriteParts m_parts;
    // Every colour byte at most its alpha, as the learned blending assumes.
    bool m_bPremultiplied = false;
};
