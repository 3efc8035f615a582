// Which parts of a blended item are copied: only pixels of full alpha, as
// many as one rectangle holds, and every pixel exactly once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/SpriteParts.h"

namespace {

TEST(SpriteParts, TheLargestOpaqueRectangleIsCopiedAndTheRestBlendedOnce) {
    const struct {
        std::vector<std::string> rows;  // '#' opaque, '+' translucent, '.' transparent
        int copied;                     // pixels of the largest opaque rectangle
    } cases[] = {
        {{"###", "###"}, 6},
        {{"+++", "...", "+.+"}, 0},
        {{".++++++.", "+######+", "+######+", "+######+", ".++++++."}, 18},  // a panel's soft rim
        {{"#.....", "#.####", "#.####", "#....."}, 8},                       // wide and short wins
        {{"#+##", "#+..", "#+..", "#+.."}, 4},                               // tall and narrow wins
        {{"#####", "##+##", "#####"}, 6},                                    // a hole splits the block
    };
    for (const auto& c : cases) {
        const int w = static_cast<int>(c.rows[0].size()), h = static_cast<int>(c.rows.size());
        std::vector<uint32_t> p;
        for (const std::string& row : c.rows)
            for (char k : row) p.push_back(k == '#' ? 0xFF203040u : k == '+' ? 0x80101820u : 0u);
        for (long long minimum : {1LL, static_cast<long long>(c.copied) + 1}) {
            const SpriteParts parts = SplitSprite(p.data(), w, h, minimum);
            const bool copies = c.copied > 0 && minimum <= c.copied;
            EXPECT_EQ(parts.copy.Width() * parts.copy.Height(), copies ? c.copied : 0) << c.rows[1];
            std::vector<int> covered(p.size(), 0);
            for (const Rect& r : parts.blend)
                for (int y = r.top; y < r.bottom; ++y)
                    for (int x = r.left; x < r.right; ++x) ++covered[y * w + x];
            for (int y = parts.copy.top; y < parts.copy.bottom; ++y)
                for (int x = parts.copy.left; x < parts.copy.right; ++x) {
                    EXPECT_EQ(c.rows[y][x], '#') << c.rows[1] << " at " << x << "," << y;
                    ++covered[y * w + x];
                }
            for (int n : covered) EXPECT_EQ(n, 1) << c.rows[1] << " with minimum " << minimum;
        }
    }
    EXPECT_TRUE(SplitSprite(nullptr, 0, 0, 1).blend.empty());
}

TEST(SpriteParts, BlendingOverATableChangesOnlyTheAreaEachByteByItsOwnAlpha) {
    static UnderTable under;
    for (int a = 0; a < 256; ++a)
        for (int d = 0; d < 256; ++d) under[a][d] = static_cast<uint8_t>((d * (255 - a) + 127) / 255);
    // A 3 x 2 sprite at (1, 1) of a 5 x 4 surface; only its right 2 x 2 area
    // is blended.
    const uint32_t sprite[] = {0x80402010u, 0xFF0000FFu, 0x00000000u,  //
                               0x40404040u, 0x20100804u, 0xC0C08040u};
    std::vector<uint32_t> target(20);
    for (size_t i = 0; i < target.size(); ++i) target[i] = 0x10305070u + static_cast<uint32_t>(i);
    const std::vector<uint32_t> before = target;
    BlendOver(target.data(), 5, sprite, 3, Point{1, 1}, Rect{2, 1, 4, 3}, under);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) {
            const uint32_t was = before[y * 5 + x], now = target[y * 5 + x];
            if (x < 2 || x >= 4 || y < 1 || y >= 3) {
                EXPECT_EQ(now, was) << x << "," << y;
                continue;
            }
            const uint32_t s = sprite[(y - 1) * 3 + (x - 1)];
            for (int shift : {0, 8, 16, 24})
                EXPECT_EQ(now >> shift & 0xFF, (s >> shift & 0xFF) + under[s >> 24][was >> shift & 0xFF])
                    << x << "," << y << " byte " << shift / 8;
        }
}

}  // namespace
