#include <gtest/gtest.h>

#include <vector>

#include "capture/DimTable.h"

namespace {

// A backdrop byte of a given opacity over a picture byte, rounded the way a
// premultiplied blend of 8-bit values is.
uint32_t Blend(uint32_t image, uint32_t picture, int alpha) {
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int s = static_cast<int>((image >> shift) & 0xFF) * alpha / 255;
        const int d = static_cast<int>((picture >> shift) & 0xFF);
        out |= static_cast<uint32_t>(s + (d * (255 - alpha) + 127) / 255) << shift;
    }
    return out | static_cast<uint32_t>(alpha) << 24;
}

uint32_t Next(uint32_t& s) {
    s ^= s << 13;
    s ^= s >> 17;
    s ^= s << 5;
    return s;
}

// A probe of 256 x 4 pixels in which each colour byte takes every value,
// under a backdrop that varies from pixel to pixel.
struct Probe {
    std::vector<uint32_t> plain, image, dimmed, dimmedBlack;
    explicit Probe(int alpha) {
        uint32_t s = 7;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 256; ++x) {
                plain.push_back(static_cast<uint32_t>(x | ((x * 7 + y * 31 + 3) & 0xFF) << 8 |
                                                      ((x * 13 + y * 17 + 5) & 0xFF) << 16));
                image.push_back(Next(s) & 0x3F3F3F);
                dimmed.push_back(Blend(image.back(), plain.back(), alpha));
                dimmedBlack.push_back(Blend(image.back(), 0, alpha));
            }
    }
};

}  // namespace

TEST(DimTable, RedimmingAChangedAreaGivesWhatDimmingItWould) {
    Probe probe(178);
    DimTable table;
    ASSERT_TRUE(table.Learn(probe.plain.data(), probe.dimmed.data(), probe.dimmedBlack.data(), probe.plain.size()));

    // A 40 x 30 screen under another backdrop; a box is drawn on part of it.
    const int W = 40, H = 30;
    uint32_t s = 99;
    std::vector<uint32_t> image(W * H), snapshot(W * H), dimmed(W * H), target(W * H), want(W * H);
    for (int i = 0; i < W * H; ++i) {
        image[i] = Next(s) & 0x3F3F3F;
        snapshot[i] = Next(s) & 0xFFFFFF;
        dimmed[i] = Blend(image[i], snapshot[i], 178);
        target[i] = dimmed[i];
    }
    const Rect area{5, 7, 33, 21};
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            const int i = y * W + x;
            target[i] = (x + y) % 3 ? Next(s) & 0xFFFFFF : snapshot[i];  // drawn over, or left alone
            want[i] = Blend(image[i], target[i], 178);
        }
    table.Redim(target.data(), snapshot.data(), dimmed.data(), W, area);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const int i = y * W + x;
            ASSERT_EQ(area.Contains(Point{x, y}) ? want[i] : dimmed[i], target[i]) << x << "," << y;
        }
}

TEST(DimTable, RefusesAProbeThatBreaksTheRuleOrLeavesValuesOut) {
    DimTable table;
    // Two opacities in one probe: the same value gains two amounts.
    Probe mixed(178);
    Probe other(150);
    for (size_t i = 600; i < mixed.plain.size(); ++i) {
        mixed.dimmed[i] = other.dimmed[i];
        mixed.dimmedBlack[i] = other.dimmedBlack[i];
    }
    EXPECT_FALSE(table.Learn(mixed.plain.data(), mixed.dimmed.data(), mixed.dimmedBlack.data(), mixed.plain.size()));
    EXPECT_FALSE(table.Ready());
    // Only the first 200 values of blue.
    Probe part(178);
    EXPECT_FALSE(table.Learn(part.plain.data(), part.dimmed.data(), part.dimmedBlack.data(), 200));
    EXPECT_TRUE(table.Learn(part.plain.data(), part.dimmed.data(), part.dimmedBlack.data(), part.plain.size()));
    EXPECT_TRUE(table.Ready());
}
