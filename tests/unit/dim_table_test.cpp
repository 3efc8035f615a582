#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "capture/DimTable.h"

namespace {

// A backdrop of some opacity over a picture, byte by byte, rounded as a
// premultiplied blend of 8-bit values is.
uint32_t Blend(uint32_t backdrop, uint32_t picture, int alpha) {
    uint32_t out = static_cast<uint32_t>(alpha) << 24;
    for (int shift = 0; shift < 24; shift += 8) {
        const int s = static_cast<int>(backdrop >> shift & 0x3F) * alpha / 255;
        const int d = static_cast<int>(picture >> shift & 0xFF);
        out |= static_cast<uint32_t>(s + (d * (255 - alpha) + 127) / 255) << shift;
    }
    return out;
}

// n pixels under a pseudo-random backdrop; the picture takes every byte value
// in each colour once n reaches 256.
struct Screen {
    std::vector<uint32_t> backdrop, picture, dimmed, dimmedBlack;
    Screen(size_t n, int alpha, uint32_t seed) {
        for (size_t i = 0; i < n; ++i) {
            seed = seed * 1664525u + 1013904223u;
            backdrop.push_back(seed >> 8);
            picture.push_back(static_cast<uint32_t>(i & 0xFF) | ((i * 7 + 3) & 0xFF) << 8 | ((i * 13 + 5) & 0xFF) << 16);
            dimmed.push_back(Blend(backdrop.back(), picture.back(), alpha));
            dimmedBlack.push_back(Blend(backdrop.back(), 0, alpha));
        }
    }
};

}  // namespace

TEST(DimTable, DimsAChangedAreaAgainAsDimmingWould) {
    DimTable table;
    Screen probe(1024, 178, 7);
    ASSERT_TRUE(table.Learn(probe.picture.data(), probe.dimmed.data(), probe.dimmedBlack.data(), 1024));

    // On a 40 x 30 screen under another backdrop, part of an area is drawn on.
    const int W = 40, H = 30;
    const Screen screen(W * H, 178, 99);
    std::vector<uint32_t> target = screen.dimmed;
    const Rect area{5, 7, 33, 21};
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            target[y * W + x] = x % 3 ? screen.picture[y * W + x] : screen.picture[y * W + x] ^ 0x5A3C96;
    const std::vector<uint32_t> drawn = target;
    // The picture before the change is kept in three bytes a pixel.
    std::vector<uint8_t> plain(PixelRows::RowBytesFor(W, 3) * H);
    for (int i = 0; i < W * H; ++i)
        for (int c = 0; c < 3; ++c) plain[(i / W) * PixelRows::RowBytesFor(W, 3) + (i % W) * 3 + c] = screen.picture[i] >> (8 * c) & 0xFF;
    table.Redim(target.data(), PixelRows::Of(plain.data(), W, 3), screen.dimmed.data(), W, area);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const int i = y * W + x;
            const uint32_t want =
                area.Contains(Point{x, y}) ? Blend(screen.backdrop[i], drawn[i], 178) : screen.dimmed[i];
            ASSERT_EQ(want, target[i]) << x << ", " << y;
        }
}

TEST(DimTable, RefusesAProbeThatBreaksTheRuleOrLeavesValuesOut) {
    DimTable table;
    // Part of the probe under another opacity: a value gains two amounts.
    Screen mixed(1024, 178, 7);
    const Screen other(1024, 150, 7);
    std::copy(other.dimmed.begin() + 600, other.dimmed.end(), mixed.dimmed.begin() + 600);
    std::copy(other.dimmedBlack.begin() + 600, other.dimmedBlack.end(), mixed.dimmedBlack.begin() + 600);
    EXPECT_FALSE(table.Learn(mixed.picture.data(), mixed.dimmed.data(), mixed.dimmedBlack.data(), 1024));
    EXPECT_FALSE(table.Ready());
    // Values 0 to 199 only.
    EXPECT_FALSE(table.Learn(mixed.picture.data(), mixed.dimmed.data(), mixed.dimmedBlack.data(), 200));
    EXPECT_TRUE(table.Learn(mixed.picture.data(), mixed.dimmed.data(), mixed.dimmedBlack.data(), 600));
}
