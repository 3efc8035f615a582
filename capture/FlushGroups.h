#pragma once
// How a repainted area reaches the display. Under Wine a window's pixels go to
// the X server once per idle moment of the thread, as the bounding box of
// everything drawn since the last time. Two strips at opposite edges of a
// selection thus send the whole selection. Copying such parts one group at a
// time, with the window's pixels handed over between groups, sends each
// group's box instead; every hand-over has a fixed cost, so nearby parts go
// together.
#include <cstddef>
#include <vector>

#include "framework/Geometry.h"

// Groups the rectangles of a repainted area into boxes to be handed over one
// after another, the grouping that costs least: the pixels of every box plus
// `handOverCost` pixels for each hand-over between boxes. Beyond `maxParts`
// rectangles (a stroke's many pieces, a slanting shape's rows) they are first
// gathered by bands of rows into half as many boxes. Every rectangle lies in
// one box.
std::vector<Rect> GroupForHandOver(const std::vector<Rect>& parts, long long handOverCost, std::size_t maxParts = 64);

// A region's rectangles come in bands of rows, so a column that other parts
// cross is cut into many pieces. Joins each piece to the one right above it
// with the same left and right, in the order the pieces first appear: the
// same pixels in fewer rectangles.
std::vector<Rect> JoinColumns(const std::vector<Rect>& parts);
