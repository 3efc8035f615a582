#include "capture/FlushGroups.h"

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
    // together (four edges of a selection against its one box).
    std::vector<Rect> best = boxes;
    long long bestCost = Cost(boxes, handOverCost);
    while (boxes.size() > 1) {
        std::size_t bi = 0, bj = 1;
        long long least = 0;
        for (std::size_t i = 0; i < boxes.size(); ++i)
            for (std::size_t j = i + 1; j < boxes.size(); ++j) {
                const long long added = Area(boxes[i].United(boxes[j])) - Area(boxes[i]) - Area(boxes[j]);
                if ((i == 0 && j == 1) || added < least) {
                    least = added;
                    bi = i;
                    bj = j;
                }
            }
        boxes[bi] = boxes[bi].United(boxes[bj]);
        boxes.erase(boxes.begin() + static_cast<long>(bj));
        const long long cost = Cost(boxes, handOverCost);
        if (cost <= bestCost) {
            bestCost = cost;
            best = boxes;
        }
    }
    return best;
}
