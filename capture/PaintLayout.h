#pragma once
#include "framework/Geometry.h"

// Where the painting pass puts things around the selection's true rectangle T
// on a screen H pixels high.

// The bright interior copied from the snapshot: T shrunk by 5 on each side
// (with the session's 4-pixel handles, one pixel inside the selection).
Rect SelectionInterior(const Rect& trueRect);

// The size label's anchor y: inside the selection at its top edge when T.top
// is within 30 pixels of the top, above the tool bar when the bar sits above,
// else just above the selection. The label's 80 x 20 box has its top-left
// corner at (x, y - 22).
int SizeLabelY(const Rect& trueRect, bool barAbove);
inline constexpr int kLabelWidth = 80;
inline constexpr int kLabelHeight = 20;
inline Rect SizeLabelBox(int x, int y) { return Rect{x, y - 22, x + kLabelWidth, y - 22 + kLabelHeight}; }
// Top-left corner of label text of extent (cx, cy), centred in the box.
Point SizeLabelTextOrigin(int x, int y, int cx, int cy);

// The tool bar goes below the selection unless it would run past the bottom
// of the screen; then above it.
struct ToolBarPlacement {
    bool above = false;
    Point bar;    // anchor passed to the bar's layout
    Point panel;  // anchor of the colour and pen-size panel
};
ToolBarPlacement PlaceToolBar(const Rect& trueRect, int screenHeight);

// The label text: the true rectangle's width and height, "W X H".
void FormatSizeText(const Rect& trueRect, char* buffer, unsigned size);

// The read-out next to the pointer while the left button is held: a box
// above and to the right of the pointer with two lines, the true rectangle's
// top-left corner and the colour under the pointer. Its size follows the
// font: lh is the line height, cx the width of kReadoutReferenceText. It goes
// left of the pointer when it would reach the right edge of a screen W wide,
// and below it when it would not fit above.
struct ReadoutLayout {
    Rect box;    // outlined, not filled (may be inverted for a tiny font)
    Rect fill;   // the translucent fill: 111 x 36 from the box's corner, whatever the font
    Rect line1;  // the corner's position, centred
    Rect line2;  // the colour under the pointer, centred
    // Everything the read-out may draw on.
    Rect Bounds() const;
};
ReadoutLayout PlaceReadout(Point pointer, int lh, int cx, int screenWidth);
// The selection's bright interior is composed after the read-out, so a
// read-out that lies inside it (with the pointer well inside the selection,
// as while the selection is moved) is covered whole and shows nothing.
bool ReadoutHiddenByInterior(const ReadoutLayout& readout, const Rect& trueRect);
// Its font: 9-point 宋体, converted for the screen.
inline constexpr int kReadoutPointSize = 90;
inline constexpr char kReadoutFace[] = "宋体";
// Only measured: four characters and two blanks, 10 bytes in code page 936.
inline constexpr char kReadoutReferenceText[] = "顶点位置  ";
inline constexpr int kReadoutReferenceLength = 10;
// The two lines: "顶点位置(x,y)" with the true rectangle's left and top, and
// "RGB(r,g,b)" of a GDI colour (red in the low byte). 64 bytes hold either.
void FormatReadoutCorner(const Rect& trueRect, char* buffer, unsigned size);
void FormatReadoutColour(unsigned long colour, char* buffer, unsigned size);
