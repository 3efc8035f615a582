#include "capture/FlushGroups.h"

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
    // list order).
    const std::size_t n = boxes.size();
    std::vector<long long> added(n * n);
    auto addedBy = [&boxes](std::size_t i, std::size_t j) {
        return Area(boxes[i].United(boxes[j])) - Area(boxes[i]) - Area(boxes[j]);
    };
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = i + 1; j < n; ++j) added[i * n + j] = addedBy(i, j);
    std::vector<bool> gone(n, false);
    // partner[i]: the first live j > i adding least with i; n when none.
    std::vector<std::size_t> partner(n, n);
    auto findPartner = [&](std::size_t i) {
        partner[i] = n;
        for (std::size_t j = i + 1; j < n; ++j)
            if (!gone[j] && (partner[i] == n || added[i * n + j] < added[i * n + partner[i]])) partner[i] = j;
    };
    for (std::size_t i = 0; i < n; ++i) findPartner(i);
    std::vector<Rect> best = boxes;
    long long bestCost = Cost(boxes, handOverCost);
    long long sent = bestCost;
    for (std::size_t left = n; left > 1; --left) {
        std::size_t bi = n;
        for (std::size_t i = 0; i < n; ++i) {
            if (gone[i] || partner[i] == n) continue;
            if (bi == n || added[i * n + partner[i]] < added[bi * n + partner[bi]]) bi = i;
        }
        const std::size_t bj = partner[bi];
        sent += added[bi * n + bj] - handOverCost;
        boxes[bi] = boxes[bi].United(boxes[bj]);
        gone[bj] = true;
        for (std::size_t k = bi + 1; k < n; ++k)
            if (!gone[k]) added[bi * n + k] = addedBy(bi, k);
        findPartner(bi);
        for (std::size_t k = 0; k < bj; ++k) {
            if (gone[k] || k == bi) continue;
            if (k < bi) {
                added[k * n + bi] = addedBy(k, bi);
                if (partner[k] == bi || partner[k] == bj) {
                    findPartner(k);
                } else if (added[k * n + bi] < added[k * n + partner[k]] ||
                           (added[k * n + bi] == added[k * n + partner[k]] && bi < partner[k])) {
                    partner[k] = bi;
                }
            } else if (partner[k] == bj) {
                findPartner(k);
            }
        }
        if (sent <= bestCost) {
            bestCost = sent;
            best.clear();
            for (std::size_t k = 0; k < n; ++k)
                if (!gone[k]) best.push_back(boxes[k]);
        }
    }
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
