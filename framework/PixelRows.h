#pragma once
#include <cstddef>
#include <cstdint>

// Top-down rows of 24- or 32-bit pixels (blue, green, red first), as in a
// DIB section, read by position. Rows start on four-byte boundaries.
struct PixelRows {
    const uint8_t* bits = nullptr;
    size_t rowBytes = 0;
    int bytesPerPixel = 4;

    static size_t RowBytesFor(int width, int bytesPerPixel) {
        return (static_cast<size_t>(width) * static_cast<size_t>(bytesPerPixel) + 3) & ~static_cast<size_t>(3);
    }
    static PixelRows Of(const void* bits, int width, int bytesPerPixel) {
        return PixelRows{static_cast<const uint8_t*>(bits), RowBytesFor(width, bytesPerPixel), bytesPerPixel};
    }
    explicit operator bool() const { return bits != nullptr; }

    // The colour at (x, y) as 0x00RRGGBB, the fourth byte left out.
    uint32_t Colour(int x, int y) const {
        const uint8_t* p = bits + static_cast<size_t>(y) * rowBytes + static_cast<size_t>(x) * bytesPerPixel;
        return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16;
    }
};
