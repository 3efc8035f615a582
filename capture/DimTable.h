#pragma once
#include <cstddef>
#include <cstdint>

#include "framework/Geometry.h"
#include "framework/PixelRows.h"

// The dimming lays the stretched backdrop image over the whole picture with
// one opacity, and the platform blends each colour byte on its own: what a
// byte d becomes is what black becomes there plus an amount that depends on d
// alone. So a small area of a picture that changed can be dimmed again from
// the dimmed snapshot without drawing the full-screen image once more:
//   dimmed(now) = dimmed(snapshot) - add[snapshot] + add[now], byte by byte.
// The amounts are learnt from a probe that the platform itself dimmed, and
// used only when every probe pixel agreed with that rule.
//
// Pixels are 32-bit BGRA words, as in a 32-bit DIB section; only the colour
// bytes are learnt and rewritten.
class DimTable {
public:
    // Learns from `count` probe pixels, dimmed once as they are and once as
    // black. False, and not ready, when the probe leaves a byte value out or
    // two pixels disagree about what dimming adds to the same value.
    bool Learn(const uint32_t* probe, const uint32_t* dimmedProbe, const uint32_t* dimmedBlack, size_t count);
    bool Ready() const { return m_ready; }

    // Dims `area` of `target` again: each pixel becomes what dimming it would
    // give, from `plain`, the picture there before it changed, and `dimmed`,
    // that picture dimmed. `target` and `dimmed` are top-down rows `stride`
    // pixels apart; the alpha byte is taken from `dimmed`.
    void Redim(uint32_t* target, const PixelRows& plain, const uint32_t* dimmed, int stride, const Rect& area) const;

private:
    int m_add[3][256] = {};
    bool m_ready = false;
};

// Where the learnt rule holds on a w x h screen: the stretched image thins
// out in its outermost pixels, which it then covers with less opacity.
inline constexpr int kDimEdge = 2;
inline Rect RegularDimArea(int w, int h) { return Rect{kDimEdge, kDimEdge, w - kDimEdge, h - kDimEdge}; }
