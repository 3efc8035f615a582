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

Rect ReadoutLayout::Bounds() const { return box.Normalized().United(fill).United(line1).United(line2); }

bool ReadoutHiddenByInterior(const ReadoutLayout& readout, const Rect& trueRect) {
    // With the margin the changes are marked with.
    const Rect touched = readout.Bounds().Inflated(2);
    return touched.Intersected(SelectionInterior(trueRect)) == touched;
}

ReadoutLayout PlaceReadout(Point p, int lh, int cx, int screenWidth) {
    Rect box{p.x + 3, p.y - 6 * lh + 47, p.x + cx + 53, p.y - 3};
    if (p.x + cx + 50 >= screenWidth) {
        box.left = p.x - cx - 53;
        box.right = p.x - 3;
    }
    if (p.y <= 6 * lh - 50) {
        box.top = p.y + 3;
        box.bottom = p.y + 6 * lh - 47;
    }
    ReadoutLayout r;
    r.box = box;
    r.fill = Rect{box.left, box.top, box.left + 111, box.top + 36};
    r.line1 = Rect{box.left, box.top + 2, box.left + cx + 50, box.top + 2 + lh};
    r.line2 = Rect{box.left, box.top + 2 + lh, box.left + cx + 50, box.top + 2 + 2 * lh};
    return r;
}

void FormatReadoutCorner(const Rect& t, char* buffer, unsigned size) {
    std::snprintf(buffer, size, "顶点位置(%d,%d)", t.left, t.top);
}

void FormatReadoutColour(unsigned long c, char* buffer, unsigned size) {
    std::snprintf(buffer, size, "RGB(%d,%d,%d)", static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}
