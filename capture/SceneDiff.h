#pragma once
// What the picture of a capture session shows, item by item, and where two
// such pictures differ. Painting composes and shows only the areas that
// differ, so a change costs what it covers on the screen, not the screen.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "framework/Geometry.h"
#include "tracker/TrackerGeometry.h"

namespace scene {

// One annotation as far as its pixels go: the same id, bounds and stamp
// draw the same pixels.
struct ShapeLook {
    const void* id = nullptr;
    Rect bounds;
    uint64_t stamp = 0;
    bool operator==(const ShapeLook& o) const { return id == o.id && bounds == o.bounds && stamp == o.stamp; }
};

struct Look {
    bool valid = false;  // false: nothing is known of what was composed
    bool hasSelection = false;
    Rect trueRect;        // the selection with its handles
    std::vector<Rect> trackerArea;  // every pixel the tracker draws lies in these
    std::optional<trackgeo::DrawnPixelSet> trackerPixels;  // exactly the pixels it sets, where known
    uint32_t trackerColor = 0;
    Rect labelBox;        // the size label's area, text included
    std::string labelText;
    Rect barRect;         // the tool bar; empty without one
    Rect panelArea;       // the panel; empty while hidden
    std::vector<int> barStates;  // everything else the bar's pixels depend on
    Rect readoutBox;      // the pointer read-out; empty while hidden
    std::string readoutText;
    std::vector<ShapeLook> shapes;  // oldest first
};

struct Change {
    bool whole = false;       // the whole screen changed
    std::vector<Rect> areas;  // else these areas (they may overlap)
    bool Empty() const { return !whole && areas.empty(); }
};

// Where the picture of `after` differs from that of `before`.
Change Diff(const Look& before, const Look& after);

}  // namespace scene
