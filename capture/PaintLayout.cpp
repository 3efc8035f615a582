#include "capture/PaintLayout.h"

#include <cstdio>

Rect SelectionInterior(const Rect& t) { return Rect{t.left + 5, t.top + 5, t.right - 5, t.bottom - 5}; }

int SizeLabelY(const Rect& t, bool barAbove) {
    if (t.top < 30) return t.top + 22;
    if (barAbove) return t.top - 42;
    return t.top;
}

Point SizeLabelTextOrigin(int x, int y, int cx, int cy) {
    return Point{x + (kLabelWidth - cx) / 2, y - 22 + (kLabelHeight - cy) / 2};
}

ToolBarPlacement PlaceToolBar(const Rect& t, int screenHeight) {
    ToolBarPlacement p;
    if (t.bottom + 43 > screenHeight) {
        p.above = true;
        p.bar = Point{t.right - 319, t.top - 38};
        p.panel = Point{t.right - 440, t.top - 81};
    } else {
        p.bar = Point{t.right - 319, t.bottom + 2};
        p.panel = Point{t.right - 319, t.bottom + 2};
    }
    return p;
}

void FormatSizeText(const Rect& t, char* buffer, unsigned size) {
    std::snprintf(buffer, size, "%d X %d", t.right - t.left, t.bottom - t.top);
}
