#include "capture/SceneDiff.h"

#include <algorithm>

#include "capture/PaintLayout.h"

namespace scene {
namespace {
// The tracker's outline lies just outside its rectangle and its handles are
// centred on the edges, all inside the true rectangle; this band holds them.
constexpr int kTrackerBand = 12;

void Add(std::vector<Rect>& out, const Rect& r) {
    if (!r.IsEmpty()) out.push_back(r);
}

void AddAll(std::vector<Rect>& out, const std::vector<Rect>& rects) {
    for (const Rect& r : rects) Add(out, r);
}
}  // namespace

std::vector<Rect> EdgeBand(const Rect& t, int width) {
    if (t.Width() <= 2 * width || t.Height() <= 2 * width) return t.IsEmpty() ? std::vector<Rect>{} : std::vector<Rect>{t};
    return {Rect{t.left, t.top, t.right, t.top + width}, Rect{t.left, t.bottom - width, t.right, t.bottom},
            Rect{t.left, t.top + width, t.left + width, t.bottom - width},
            Rect{t.right - width, t.top + width, t.right, t.bottom - width}};
}

Change Diff(const Look& before, const Look& after) {
    Change change;
    if (!before.valid || !after.valid || before.hasSelection != after.hasSelection || !after.hasSelection) {
        // Without a selection the picture is the bright snapshot; a change of
        // that kind is rare and covers the screen.
        change.whole = !(before.valid && after.valid && !before.hasSelection && !after.hasSelection &&
                         before.shapes == after.shapes);
        return change;
    }
    std::vector<Rect>& out = change.areas;
    if (before.trueRect != after.trueRect) {
        // The bright interior grew or shrank there.
        const Rect a = SelectionInterior(before.trueRect), b = SelectionInterior(after.trueRect);
        AddAll(out, Subtract(a, b));
        AddAll(out, Subtract(b, a));
    }
    if (before.trueRect != after.trueRect || before.trackerRect != after.trackerRect ||
        before.trackerColor != after.trackerColor) {
        AddAll(out, EdgeBand(before.trueRect, kTrackerBand));
        AddAll(out, EdgeBand(after.trueRect, kTrackerBand));
    }
    if (before.labelBox != after.labelBox || before.labelText != after.labelText) {
        Add(out, before.labelBox);
        Add(out, after.labelBox);
    }
    if (before.barRect != after.barRect || before.panelArea != after.panelArea || before.barStates != after.barStates) {
        Add(out, before.barRect);
        Add(out, after.barRect);
        Add(out, before.panelArea);
        Add(out, after.panelArea);
    }
    if (before.readoutBox != after.readoutBox || before.readoutText != after.readoutText) {
        Add(out, before.readoutBox);
        Add(out, after.readoutBox);
    }
    // Shapes by position in the list: a changed, added or removed one
    // changes its old and new bounds. Everything drawn over a changed area
    // is drawn again with it, so overlapping shapes stay in order.
    const size_t n = std::max(before.shapes.size(), after.shapes.size());
    for (size_t i = 0; i < n; ++i) {
        const ShapeLook* was = i < before.shapes.size() ? &before.shapes[i] : nullptr;
        const ShapeLook* now = i < after.shapes.size() ? &after.shapes[i] : nullptr;
        if (was && now && *was == *now) continue;
        if (was) Add(out, was->bounds);
        if (now) Add(out, now->bounds);
    }
    return change;
}

}  // namespace scene
