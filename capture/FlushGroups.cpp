#include "capture/FlushGroups.h"

#include <algorithm>
#include <limits>
#include <map>
#include <utility>

namespace {
long long Area(const Rect& r) { return r.IsEmpty() ? 0 : static_cast<long long>(r.Width()) * r.Height(); }

// Pixels sent plus the hand-overs between the boxes, in pixels.
long long Cost(const std::vector<Rect>& boxes, long long handOverCost) {
    long long total = boxes.empty() ? 0 : handOverCost * static_cast<long long>(boxes.size() - 1);
    for (const Rect& r : boxes) total += Area(r);
    return total;
}

// Many pieces (a stroke's segments, the rows of a slanting shape) are first
// gathered into the boxes of `bands` bands of rows, by where each piece
// starts: few enough boxes for the merging below to stay quick, yet a
// slanting shape is not sent as its whole bounding box.
std::vector<Rect> GatherInBands(const std::vector<Rect>& pieces, std::size_t bands) {
    Rect all;
    for (const Rect& r : pieces) all = all.United(r);
    std::vector<Rect> boxes(bands);
    for (const Rect& r : pieces) {
        const auto band = static_cast<std::size_t>(static_cast<long long>(r.top - all.top) *
                                                   static_cast<long long>(bands) / all.Height());
        boxes[band] = boxes[band].United(r);
    }
    std::vector<Rect> gathered;
    for (const Rect& b : boxes)
        if (!b.IsEmpty()) gathered.push_back(b);
    return gathered;
}
}  // namespace

std::vector<Rect> GroupForHandOver(const std::vector<Rect>& parts, long long handOverCost, std::size_t maxParts) {
    std::vector<Rect> boxes;
    for (const Rect& r : parts)
        if (!r.IsEmpty()) boxes.push_back(r);
    if (boxes.size() > maxParts) boxes = GatherInBands(boxes, maxParts / 2 > 0 ? maxParts / 2 : 1);
    // Merge the pair that costs least to merge, down to one box, and keep
    // the cheapest grouping seen: merges that do not pay alone may pay
    // together (four edges of a selection against its one box). What each
    // pair adds is kept, with each box's cheapest partner after it, so a
    // merge recomputes only the pairs and partners it touched; the boxes keep
    // their places, a merged one marked gone, so that ties go to the same
    // pair as they would in a list that closes its gaps (the first pair in
    // list order). This runs on every step of a drag: the boxes' areas are
    // kept, and the cheapest grouping is found again at the end by replaying
    // the merges up to it rather than copied whenever one is seen.
    const std::vector<Rect> original = boxes;
    const std::size_t n = boxes.size();
    std::vector<long long> area(n);
    for (std::size_t i = 0; i < n; ++i) area[i] = Area(boxes[i]);
    // The boxes are never empty, nor is any union of them.
    auto addedBy = [&boxes, &area](std::size_t i, std::size_t j) {
        const Rect& a = boxes[i];
        const Rect& b = boxes[j];
        const long long w = std::max(a.right, b.right) - std::min(a.left, b.left);
        const long long h = std::max(a.bottom, b.bottom) - std::min(a.top, b.top);
        return w * h - area[i] - area[j];
    };
    std::vector<long long> added(n * n);
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = i + 1; j < n; ++j) added[i * n + j] = addedBy(i, j);
    std::vector<char> gone(n, 0);
    // partner[i]: the first live j > i adding least with i, and what it
    // adds; n and kNone when there is none. A merged box's column is set to
    // kNone, so that no box takes it as partner again.
    constexpr long long kNone = std::numeric_limits<long long>::max();
    std::vector<std::size_t> partner(n, n);
    std::vector<long long> cheapest(n, kNone);
    auto findPartner = [&](std::size_t i) {
        std::size_t best = n;
        long long least = kNone;
        const long long* row = &added[i * n];
        for (std::size_t j = i + 1; j < n; ++j)
            if (row[j] < least) {
                least = row[j];
                best = j;
            }
        partner[i] = best;
        cheapest[i] = least;
    };
    for (std::size_t i = 0; i < n; ++i) findPartner(i);
    long long bestCost = Cost(boxes, handOverCost);
    long long sent = bestCost;
    std::vector<std::pair<std::size_t, std::size_t>> merges;
    merges.reserve(n);
    std::size_t bestMerges = 0;
    for (std::size_t left = n; left > 1; --left) {
        std::size_t bi = 0;
        for (std::size_t i = 1; i < n; ++i)
            if (cheapest[i] < cheapest[bi]) bi = i;
        const std::size_t bj = partner[bi];
        sent += cheapest[bi] - handOverCost;
        boxes[bi] = boxes[bi].United(boxes[bj]);
        area[bi] = Area(boxes[bi]);
        gone[bj] = 1;
        cheapest[bj] = kNone;
        for (std::size_t k = 0; k < bj; ++k) added[k * n + bj] = kNone;
        merges.emplace_back(bi, bj);
        for (std::size_t k = bi + 1; k < n; ++k)
            if (!gone[k]) added[bi * n + k] = addedBy(bi, k);
        findPartner(bi);
        for (std::size_t k = 0; k < bj; ++k) {
            if (gone[k] || k == bi) continue;
            if (k < bi) {
                const long long now = added[k * n + bi] = addedBy(k, bi);
                if (partner[k] == bi || partner[k] == bj) {
                    findPartner(k);
                } else if (now < cheapest[k] || (now == cheapest[k] && bi < partner[k])) {
                    partner[k] = bi;
                    cheapest[k] = now;
                }
            } else if (partner[k] == bj) {
                findPartner(k);
            }
        }
        if (sent <= bestCost) {
            bestCost = sent;
            bestMerges = merges.size();
        }
    }
    boxes = original;
    std::fill(gone.begin(), gone.end(), 0);
    for (std::size_t m = 0; m < bestMerges; ++m) {
        boxes[merges[m].first] = boxes[merges[m].first].United(boxes[merges[m].second]);
        gone[merges[m].second] = 1;
    }
    std::vector<Rect> best;
    for (std::size_t k = 0; k < n; ++k)
        if (!gone[k]) best.push_back(boxes[k]);
    return best;
}

std::vector<Rect> JoinColumns(const std::vector<Rect>& parts) {
    std::vector<Rect> joined;
    // Where each column ends so far: its left and right to its place in `joined`.
    std::map<std::pair<int, int>, std::size_t> open;
    for (const Rect& r : parts) {
        if (r.IsEmpty()) continue;
        const auto key = std::make_pair(r.left, r.right);
        const auto at = open.find(key);
        if (at != open.end() && joined[at->second].bottom == r.top) {
            joined[at->second].bottom = r.bottom;
            continue;
        }
        open[key] = joined.size();
        joined.push_back(r);
    }
    return joined;
}
