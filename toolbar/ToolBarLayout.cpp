#include "toolbar/ToolBarLayout.h"

namespace toolbar {
namespace {

// The bar's fixed size, and where its button row starts.
constexpr int kBarLeftOfAnchor = 30;
constexpr int kBarWidth = 339;
constexpr int kBarHeight = 38;
constexpr int kRowInset = 15;
constexpr int kRowPitch = 30;

// The panel hangs below its anchor; its size buttons start inside it.
constexpr int kPanelDrop = 43;
constexpr int kPanelInset = 4;
constexpr int kSizePitch = 20;
constexpr int kColourAfterLastSize = 30;
constexpr int kColourRaise = 5;

// Screen slot of each bar button, in list order: close sits left of save.
constexpr int kSlot[kBarButtons] = {0, 1, 2, 3, 4, 5, 7, 6, 8};

}  // namespace

int RowTop(int top, int backgroundHeight, int buttonHeight) {
    const int spare = backgroundHeight - buttonHeight;
    return top + (spare > 0 ? spare / 2 : 0);
}

BarOrigins RowOrigins(int firstLeft, int top) {
    BarOrigins o;
    for (int i = 0; i < kBarButtons; ++i) o[i] = Point{firstLeft + kRowPitch * kSlot[i], top};
    return o;
}

RowLayout LayoutRow(int x, int y, int barImageHeight, int buttonHeight) {
    const int left = x - kBarLeftOfAnchor;
    RowLayout l;
    l.bar = Rect{left, y, left + kBarWidth, y + kBarHeight};
    l.buttons = RowOrigins(x - kRowInset, RowTop(y, barImageHeight, buttonHeight));
    return l;
}

PanelOrigins PanelButtonOrigins(int firstLeft, int top) {
    const int lastSize = firstLeft + 2 * kSizePitch;
    return PanelOrigins{Point{firstLeft, top}, Point{firstLeft + kSizePitch, top}, Point{lastSize, top},
                        Point{lastSize + kColourAfterLastSize, top - kColourRaise}};
}

Point PanelBackground(int x, int y) { return Point{x, y + kPanelDrop}; }

PanelLayout LayoutPanel(int x, int y, int panelImageHeight, int sizeButtonHeight) {
    PanelLayout l;
    l.background = PanelBackground(x, y);
    l.buttons = PanelButtonOrigins(x + kPanelInset, RowTop(l.background.y, panelImageHeight, sizeButtonHeight));
    return l;
}

InitialLayout LayoutInitial(int originX, int originY, int barImageHeight, int barButtonHeight, int panelImageHeight,
                            int sizeButtonHeight) {
    return InitialLayout{RowOrigins(originX, RowTop(originY, barImageHeight, barButtonHeight)),
                         PanelButtonOrigins(originX, RowTop(originY, panelImageHeight, sizeButtonHeight))};
}

Rect PanelArea(const Rect& background, const std::array<Rect, kPanelButtons>& buttons, const Rect& swatch) {
    Rect area = background;
    for (const Rect& b : buttons) area = area.United(b);
    return area.United(swatch.IsEmpty() ? Rect{} : swatch.Inflated(kSwatchPenReach));
}

}  // namespace toolbar
