#pragma once
// Where the tool bar and its colour and pen-size panel put their buttons, free
// of any window system so that it is tested natively. CToolBars (ToolBars.h)
// holds the buttons and applies these layouts to them.
//
// Buttons are numbered in list order, the order in which they are loaded,
// drawn and offered the pointer: the bar's nine, then the panel's four. On
// the screen the bar shows close before save although save comes first in the
// list.
#include <array>

#include "framework/Geometry.h"

namespace toolbar {

enum Button : int {
    BtnRect,
    BtnCircle,
    BtnArrow,
    BtnText,
    BtnPen,
    BtnReturn,
    BtnSave,
    BtnClose,
    BtnFinish,
    BtnOne,
    BtnMid,
    BtnBig,
    BtnColor,
};
inline constexpr int kBarButtons = 9;
inline constexpr int kPanelButtons = 4;
inline constexpr int kButtons = kBarButtons + kPanelButtons;

using BarOrigins = std::array<Point, kBarButtons>;      // list order
using PanelOrigins = std::array<Point, kPanelButtons>;  // one, mid, big, colour

// Top of a row of buttons `buttonHeight` high centred on a background
// `backgroundHeight` high whose top is `top`. A background that is missing
// (height 0) or shorter than the buttons puts them at its top rather than
// above it.
int RowTop(int top, int backgroundHeight, int buttonHeight);

// The bar's nine buttons, 30 pixels apart, the first (on the screen) with its
// left edge at firstLeft, all with their top at `top`.
BarOrigins RowOrigins(int firstLeft, int top);

// The bar for anchor (x, y): its rectangle, 339 x 38 whatever the size of its
// background image, and its buttons centred on that image, starting 15 pixels
// right of the bar's left edge.
struct RowLayout {
    Rect bar;
    BarOrigins buttons;
};
RowLayout LayoutRow(int x, int y, int barImageHeight, int buttonHeight);

// The size buttons 20 pixels apart from firstLeft at `top`, and the colour
// button 30 pixels after the last of them and 5 pixels higher.
PanelOrigins PanelButtonOrigins(int firstLeft, int top);

// Top-left corner of the panel's background for anchor (x, y): 43 pixels
// below it, which puts it just under the bar when both share the anchor.
Point PanelBackground(int x, int y);

// The panel for anchor (x, y): its background, and the size buttons from 4
// pixels into it, centred on it.
struct PanelLayout {
    Point background;
    PanelOrigins buttons;
};
PanelLayout LayoutPanel(int x, int y, int panelImageHeight, int sizeButtonHeight);

// The layout the skin loader leaves before the bar is first placed: both rows
// start at the origin (no 15- or 4-pixel inset, no 43-pixel drop), and the
// bar's rectangle is not touched.
struct InitialLayout {
    BarOrigins bar;
    PanelOrigins panel;
};
InitialLayout LayoutInitial(int originX, int originY, int barImageHeight, int barButtonHeight, int panelImageHeight,
                            int sizeButtonHeight);

// How far the swatch's outline reaches beyond the swatch rectangle.
inline constexpr int kSwatchPenReach = 1;

// Everything the panel paints: its background, its four buttons and the
// swatch over the colour button with its outline.
Rect PanelArea(const Rect& background, const std::array<Rect, kPanelButtons>& buttons, const Rect& swatch);

}  // namespace toolbar
