#pragma once
// Drawing straight into the memory of a 32-bit top-down DIB section, within
// the parts its context's clipping allows: for items drawn on every step of a
// drag, where the platform's per-call work costs more than the copying.
#include <cstdint>
#include <cstring>
#include <vector>

#include "framework/Geometry.h"

struct PixelTarget {
    uint32_t* bits = nullptr;  // none: draw through the context instead
    int width = 0;
    int height = 0;
    const std::vector<Rect>* clip = nullptr;  // the parts allowed; null: all of it

    explicit operator bool() const { return bits != nullptr; }

    // Calls draw(area) for each part of `r` (in the target's coordinates)
    // that lies on the target and within its clipping.
    template <typename Draw>
    void EachAllowed(const Rect& r, const Draw& draw) const {
        const Rect placed = r.Intersected(Rect{0, 0, width, height});
        if (placed.IsEmpty()) return;
        if (!clip) {
            draw(placed);
            return;
        }
        for (const Rect& allowed : *clip) {
            const Rect area = placed.Intersected(allowed);
            if (!area.IsEmpty()) draw(area);
        }
    }

    // Copies `part` of a 32-bit top-down image `imageWidth` pixels wide,
    // placed with its top-left corner at (x, y), as a block copy would.
    void CopyFrom(const uint32_t* image, int imageWidth, const Rect& part, int x, int y) const {
        EachAllowed(part.Offset(x, y), [&](const Rect& area) {
            for (int row = area.top; row < area.bottom; ++row)
                std::memcpy(bits + static_cast<size_t>(row) * static_cast<size_t>(width) + area.left,
                            image + static_cast<size_t>(row - y) * static_cast<size_t>(imageWidth) + (area.left - x),
                            static_cast<size_t>(area.Width()) * sizeof(uint32_t));
        });
    }
};
