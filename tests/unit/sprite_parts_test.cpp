// Which parts of a blended item are copied: only pixels of full alpha, as
// many of them as one rectangle can hold, and the rest exactly once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/SpriteParts.h"

namespace {

// '#' opaque, '+' translucent, '.' transparent.
std::vector<uint32_t> Pixels(const std::vector<std::string>& rows) {
    std::vector<uint32_t> out;
    for (const std::string& row : rows)
        for (char c : row) out.push_back(c == '#' ? 0xFF203040u : c == '+' ? 0x80101820u : 0u);
    return out;
}

TEST(SpriteParts, LargestOpaqueRectangle) {
    const struct {
        const char* name;
        std::vector<std::string> rows;
        Rect expected;
    } cases[] = {
        {"all opaque", {"###", "###"}, {0, 0, 3, 2}},
        {"nothing opaque", {"+++", "...", "+.+"}, {}},
        {"a panel with a soft rim and rounded corners",
         {".++++++.", "+######+", "+######+", "+######+", ".++++++."},
         {1, 1, 7, 4}},
        {"a wide short block beats a tall narrow one",
         {"#.....", "#.####", "#.####", "#....."},
         {2, 1, 6, 3}},
        {"a tall narrow block beats a wide short one", {"#+##", "#+..", "#+..", "#+.."}, {0, 0, 1, 4}},
        {"an opaque column at the right edge", {"..#", "..#", "..#"}, {2, 0, 3, 3}},
        {"a hole splits the block", {"#####", "##+##", "#####"}, {0, 0, 2, 3}},
    };
    for (const auto& c : cases) {
        const std::vector<uint32_t> p = Pixels(c.rows);
        const int w = static_cast<int>(c.rows[0].size()), h = static_cast<int>(c.rows.size());
        const Rect r = LargestOpaqueRect(p.data(), w, h);
        EXPECT_EQ(r.IsEmpty(), c.expected.IsEmpty()) << c.name;
        if (!c.expected.IsEmpty()) {
            EXPECT_EQ(r.Width() * r.Height(), c.expected.Width() * c.expected.Height()) << c.name;
            for (int y = r.top; y < r.bottom; ++y)
                for (int x = r.left; x < r.right; ++x) EXPECT_EQ(c.rows[y][x], '#') << c.name << " at " << x << "," << y;
        }
    }
}

TEST(SpriteParts, TheSplitCoversTheItemOnceAndSmallCoresAreBlended) {
    const std::vector<std::string> rows = {".++++++.", "+######+", "+######+", "+######+", ".++++++."};
    const std::vector<uint32_t> p = Pixels(rows);
    for (long long minimum : {1LL, 18LL, 19LL}) {
        const SpriteParts parts = SplitSprite(p.data(), 8, 5, minimum);
        std::vector<int> covered(40, 0);
        auto cover = [&covered](const Rect& r) {
            for (int y = r.top; y < r.bottom; ++y)
                for (int x = r.left; x < r.right; ++x) ++covered[y * 8 + x];
        };
        cover(parts.copy);
        for (const Rect& r : parts.blend) cover(r);
        for (int i = 0; i < 40; ++i) EXPECT_EQ(covered[i], 1) << "pixel " << i << " with minimum " << minimum;
        EXPECT_EQ(parts.copy.IsEmpty(), minimum > 18) << minimum;
    }
    EXPECT_TRUE(SplitSprite(nullptr, 0, 0, 1).blend.empty());
}

}  // namespace
