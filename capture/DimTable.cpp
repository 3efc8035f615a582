#include "capture/DimTable.h"

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

void DimTable::Redim(uint32_t* target, const PixelRows& plain, const uint32_t* dimmed, int stride,
                     const Rect& area) const {
    for (int y = area.top; y < area.bottom; ++y) {
        const size_t row = static_cast<size_t>(y) * static_cast<size_t>(stride);
        for (int x = area.left; x < area.right; ++x) {
            const size_t i = row + static_cast<size_t>(x);
            const uint32_t before = plain.Colour(x, y);
            uint32_t out = dimmed[i] & 0xFF000000u;
            for (int c = 0; c < 3; ++c) {
                const int shift = 8 * c;
                int v = static_cast<int>((dimmed[i] >> shift) & 0xFF) - m_add[c][(before >> shift) & 0xFF] +
                        m_add[c][(target[i] >> shift) & 0xFF];
                v = v < 0 ? 0 : (v > 255 ? 255 : v);
                out |= static_cast<uint32_t>(v) << shift;
            }
            target[i] = out;
        }
    }
}
