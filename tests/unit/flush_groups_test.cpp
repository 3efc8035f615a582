// The grouping of a repainted area for its hand-over to the display: far
// apart parts go separately, near ones together, and nothing is left out.
#include "capture/FlushGroups.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

constexpr long long kCost = 100000;

bool Covers(const std::vector<Rect>& boxes, const Rect& r) {
    return std::any_of(boxes.begin(), boxes.end(), [&](const Rect& b) { return b.Intersected(r) == r; });
}

TEST(FlushGroups, GroupsByWhatAHandOverCosts) {
    struct Case {
        const char* what;
        std::vector<Rect> parts;
        size_t groups;
    } cases[] = {
        {"nothing", {}, 0},
        {"empty parts only", {Rect{5, 5, 5, 9}, Rect{}}, 0},
        {"one part", {Rect{10, 10, 200, 20}}, 1},
        // A moved selection's left and right edge bands, 600 apart.
        {"opposite edges of a big selection", {Rect{100, 100, 112, 500}, Rect{700, 100, 712, 500}}, 2},
        // The same bands of a small selection cost less together.
        {"opposite edges of a small selection", {Rect{100, 100, 112, 160}, Rect{180, 100, 192, 160}}, 1},
        {"touching pieces of one band", {Rect{0, 0, 50, 10}, Rect{0, 10, 50, 20}, Rect{50, 0, 60, 20}}, 1},
        // The four edge bands of a 600 x 400 selection and a bar below it:
        // cheaper as one box than as four or five.
        {"edges and bar of a selection",
         {Rect{88, 88, 712, 112}, Rect{88, 488, 712, 512}, Rect{88, 112, 112, 488}, Rect{688, 112, 712, 488},
          Rect{370, 515, 710, 553}},
         1},
        // The same on a screen four times as big: the inside is worth skipping.
        {"edges and bar of a big selection",
         {Rect{88, 88, 2112, 112}, Rect{88, 1488, 2112, 1512}, Rect{88, 112, 112, 1488}, Rect{2088, 112, 2112, 1488},
          Rect{1770, 1515, 2110, 1553}},
         4},
        // Where the pointer's read-out and the moving bar are far apart.
        {"read-out far from the bar", {Rect{1500, 50, 1620, 100}, Rect{100, 900, 440, 938}}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<Rect> boxes = GroupForHandOver(c.parts, kCost);
        EXPECT_EQ(boxes.size(), c.groups);
        for (const Rect& r : c.parts) EXPECT_TRUE(r.IsEmpty() || Covers(boxes, r));
    }
}

TEST(FlushGroups, ManyPiecesGoInBoxesAlongTheirWayNotAsTheirBoundingBox) {
    std::vector<Rect> stroke, slant;
    for (int i = 0; i < 100; ++i) stroke.push_back(Rect{i * 15, i * 7, i * 15 + 4, i * 7 + 4});
    // The rows of a long arrow across a 4K selection, as its region gives them.
    for (int y = 0; y < 1200; ++y) slant.push_back(Rect{100 + y * 2, 300 + y, 124 + y * 2, 301 + y});
    for (const auto* pieces : {&stroke, &slant}) {
        const std::vector<Rect> boxes = GroupForHandOver(*pieces, kCost);
        Rect all;
        long long sent = 0;
        for (const Rect& r : *pieces) all = all.United(r);
        for (const Rect& b : boxes) sent += static_cast<long long>(b.Width()) * b.Height();
        for (const Rect& r : *pieces) EXPECT_TRUE(Covers(boxes, r));
        EXPECT_GT(boxes.size(), 1u);
        EXPECT_LT(sent + kCost * static_cast<long long>(boxes.size() - 1),
                  static_cast<long long>(all.Width()) * all.Height() * 3 / 5);
    }
}

// The plain greedy merge the grouping follows: the pair that adds least, the
// first such pair in list order on a tie, its gap closed after each merge.
std::vector<Rect> PlainGrouping(std::vector<Rect> boxes, long long cost) {
    auto area = [](const Rect& r) { return static_cast<long long>(r.Width()) * r.Height(); };
    auto total = [&](const std::vector<Rect>& b) {
        long long t = cost * static_cast<long long>(b.size() - 1);
        for (const Rect& r : b) t += area(r);
        return t;
    };
    std::vector<Rect> best = boxes;
    long long bestCost = total(boxes);
    while (boxes.size() > 1) {
        size_t bi = 0, bj = 1;
        long long least = 0;
        for (size_t i = 0; i < boxes.size(); ++i)
            for (size_t j = i + 1; j < boxes.size(); ++j) {
                const long long added = area(boxes[i].United(boxes[j])) - area(boxes[i]) - area(boxes[j]);
                if ((i == 0 && j == 1) || added < least) least = added, bi = i, bj = j;
            }
        boxes[bi] = boxes[bi].United(boxes[bj]);
        boxes.erase(boxes.begin() + static_cast<long>(bj));
        if (total(boxes) <= bestCost) bestCost = total(boxes), best = boxes;
    }
    return best;
}

TEST(FlushGroups, GroupsAsThePlainGreedyMergeDoes) {
    // Small coordinates on a coarse grid make ties common.
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::vector<Rect> parts;
        const int count = 2 + static_cast<int>(random() % 40);
        for (int i = 0; i < count; ++i) {
            const int x = static_cast<int>(random() % 40) * 50, y = static_cast<int>(random() % 20) * 50;
            parts.push_back(Rect{x, y, x + 10 + static_cast<int>(random() % 4) * 100, y + 10 + static_cast<int>(random() % 3) * 60});
        }
        const long long cost = round % 2 ? kCost : 20000;
        SCOPED_TRACE(round);
        EXPECT_EQ(GroupForHandOver(parts, cost), PlainGrouping(parts, cost));
    }
}

// A column cut by the bands of a region, as a resized selection's right edge
// is by its handles and the read-out: joined where one piece sits right on
// the other, and nowhere else.
TEST(FlushGroups, JoinColumnsJoinsOnlyPiecesRightAboveEachOther) {
    const std::vector<Rect> banded{
        {1418, 133, 1425, 134}, {828, 133, 829, 134}, {828, 134, 829, 135}, {1418, 134, 1425, 135},
        {1418, 135, 1425, 137},  // the same column, three bands
        {828, 136, 829, 137},    // a gap of a row above: not joined
        {827, 137, 829, 138},    // another left: not joined
        {1418, 137, 1425, 140}, {5, 5, 5, 9}};
    const std::vector<Rect> want{{1418, 133, 1425, 140}, {828, 133, 829, 135}, {828, 136, 829, 137},
                                 {827, 137, 829, 138}};
    EXPECT_EQ(JoinColumns(banded), want);
    EXPECT_TRUE(JoinColumns({}).empty());
}

}  // namespace
