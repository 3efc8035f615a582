#include "capture/SceneDiff.h"

#include <algorithm>

#include "capture/PaintLayout.h"

namespace scene {
namespace {
void Add(std::vector<Rect>& out, const Rect& r) {
    if (!r.IsEmpty()) out.push_back(r);
}

void AddAll(std::vector<Rect>& out, const std::vector<Rect>& rects) {
    for (const Rect& r : rects) Add(out, r);
}
}  // namespace

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
    // The outline and handles where they were and where they are: along a
    // large selection a thin frame and a few squares, rather than a band as
    // deep as the handles reach. Where both pictures' pixels are known and of
    // one colour, only those that one sets and the other does not: an edge
    // that stays put (the left one, as the corner opposite is dragged) is
    // left alone along its whole length.
    if (before.trueRect != after.trueRect || before.trackerArea != after.trackerArea ||
        before.trackerColor != after.trackerColor) {
        if (before.trackerColor == after.trackerColor && before.trackerPixels && after.trackerPixels) {
            // Lines against lines and squares against squares: where a square
            // and a line meet, both are of one colour, so a pixel is at most
            // marked once too often, and the squares stay whole.
            AddAll(out, SymmetricDifference(before.trackerPixels->lines, after.trackerPixels->lines));
            AddAll(out, SymmetricDifference(before.trackerPixels->handles, after.trackerPixels->handles));
        } else {
            AddAll(out, before.trackerArea);
            AddAll(out, after.trackerArea);
        }
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
