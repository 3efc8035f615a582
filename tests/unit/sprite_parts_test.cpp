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

}  // namespace
