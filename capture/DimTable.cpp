#include "capture/DimTable.h"

#include <algorithm>

bool DimTable::Learn(const uint32_t* probe, const uint32_t* dimmedProbe, const uint32_t* dimmedBlack, size_t count) {
    m_ready = false;
    bool known[3][256] = {};
    for (size_t i = 0; i < count; ++i) {
        for (int c = 0; c < 3; ++c) {
            const int shift = 8 * c;
            const int value = static_cast<int>((probe[i] >> shift) & 0xFF);
            const int added =
                static_cast<int>((dimmedProbe[i] >> shift) & 0xFF) - static_cast<int>((dimmedBlack[i] >> shift) & 0xFF);
            if (!known[c][value]) {
                known[c][value] = true;
                m_add[c][value] = added;
            } else if (m_add[c][value] != added) {
                return false;
            }
        }
    }
    for (const auto& channel : known)
        for (bool k : channel)
            if (!k) return false;
    m_ready = true;
    return true;
}

namespace {
// One pass per pixel size of the plain picture, its rows walked by pointer:
// the read-out is dimmed again on every step of a drag.
template <int kBytesPerPixel>
void RedimRows(const int (&add)[3][256], uint32_t* target, const PixelRows& plain, const uint32_t* dimmed, int stride,
               const Rect& area) {
    for (int y = area.top; y < area.bottom; ++y) {
        const size_t row = static_cast<size_t>(y) * static_cast<size_t>(stride) + static_cast<size_t>(area.left);
        uint32_t* out = target + row;
        const uint32_t* dim = dimmed + row;
        const uint8_t* in = plain.bits + static_cast<size_t>(y) * plain.rowBytes +
                            static_cast<size_t>(area.left) * kBytesPerPixel;
        for (int x = area.left; x < area.right; ++x, ++out, ++dim, in += kBytesPerPixel) {
            const uint32_t d = *dim, now = *out;
            // What dimming adds to the byte now, in place of what it added to
            // the byte before.
            auto redim = [&](int shift, int c) {
                const int v = static_cast<int>((d >> shift) & 0xFF) - add[c][in[c]] + add[c][(now >> shift) & 0xFF];
                return static_cast<uint32_t>(std::clamp(v, 0, 255));
            };
            *out = (d & 0xFF000000u) | redim(16, 2) << 16 | redim(8, 1) << 8 | redim(0, 0);
        }
    }
}
}  // namespace

void DimTable::Redim(uint32_t* target, const PixelRows& plain, const uint32_t* dimmed, int stride,
                     const Rect& area) const {
    if (plain.bytesPerPixel == 3)
        RedimRows<3>(m_add, target, plain, dimmed, stride, area);
    else
        RedimRows<4>(m_add, target, plain, dimmed, stride, area);
}
