#include "platform/SpriteParts.h"

#include <cstddef>

void BlendOver(uint32_t* target, int targetWidth, const uint32_t* sprite, int spriteWidth, Point origin,
               const Rect& area, const UnderTable& under) {
    for (int y = area.top; y < area.bottom; ++y) {
        uint32_t* out = target + static_cast<size_t>(y) * static_cast<size_t>(targetWidth) + area.left;
        const uint32_t* in = sprite + static_cast<size_t>(y - origin.y) * static_cast<size_t>(spriteWidth) +
                             (area.left - origin.x);
        for (int x = area.left; x < area.right; ++x, ++out, ++in) {
            const uint32_t s = *in, d = *out;
            const uint8_t* u = under[s >> 24];
            *out = ((s & 0xFF) + u[d & 0xFF]) | ((s >> 8 & 0xFF) + u[d >> 8 & 0xFF]) << 8 |
                   ((s >> 16 & 0xFF) + u[d >> 16 & 0xFF]) << 16 | ((s >> 24) + u[d >> 24]) << 24;
        }
    }
}

Rect LargestOpaqueRect(const uint32_t* pixels, int width, int height) {
    if (width <= 0 || height <= 0) return Rect{};
    // Row by row, how many opaque pixels end at this row in each column; the
    // largest rectangle standing on the row is then that of a histogram,
    // found with a stack of columns of rising height.
    std::vector<int> run(static_cast<size_t>(width), 0);
    std::vector<int> rising;
    Rect best{};
    long long bestArea = 0;
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = pixels + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (int x = 0; x < width; ++x) run[x] = (row[x] >> 24) == 0xFF ? run[x] + 1 : 0;
        rising.clear();
        for (int x = 0; x <= width; ++x) {
            const int h = x < width ? run[x] : 0;
            while (!rising.empty() && run[rising.back()] >= h) {
                const int tallest = run[rising.back()];
                rising.pop_back();
                const int left = rising.empty() ? 0 : rising.back() + 1;
                const long long area = static_cast<long long>(tallest) * (x - left);
                if (area > bestArea) {
                    bestArea = area;
                    best = Rect{left, y + 1 - tallest, x, y + 1};
                }
            }
            if (x < width) rising.push_back(x);
        }
    }
    return best;
}

SpriteParts SplitSprite(const uint32_t* pixels, int width, int height, long long minCopyPixels) {
    SpriteParts parts;
    const Rect whole{0, 0, width, height};
    if (whole.IsEmpty()) return parts;
    const Rect opaque = LargestOpaqueRect(pixels, width, height);
    if (opaque.IsEmpty() || static_cast<long long>(opaque.Width()) * opaque.Height() < minCopyPixels) {
        parts.blend = {whole};
        return parts;
    }
    parts.copy = opaque;
    parts.blend = Subtract(whole, opaque);
    return parts;
}
