// The tool bar's answers to the pointer: the hover step, which button a click
// fires, and what firing each button does, in order.
#include "toolbar/ToolBarInput.h"

#include <gtest/gtest.h>

#include <string>

#include "resources/Messages.h"

namespace toolbar {
void PrintTo(const Action& a, std::ostream* os) { *os << "{" << a.kind << " " << a.message << " " << a.button << "}"; }
}  // namespace toolbar
using namespace toolbar;

namespace {

const Action kCommit{Action::Send, kMsgCommitText}, kPick{Action::PickColor, 0, BtnColor};
Action Apply(Button b) { return Action{Action::Apply, 0, b}; }
Action Post(unsigned m) { return Action{Action::Post, m}; }

// The bar and panel at anchor (500, 300), every button 18 x 18.
ButtonRects PlacedBar() {
    const RowLayout row = LayoutRow(500, 300, 38, 24);
    const PanelLayout panel = LayoutPanel(500, 300, 30, 18);
    ButtonRects r{};
    for (int i = 0; i < kButtons; ++i) {
        const Point o = i < kBarButtons ? row.buttons[i] : panel.buttons[i - kBarButtons];
        r[i] = Rect{o.x, o.y, o.x + 18, o.y + 18};
    }
    return r;
}
Point Centre(const Rect& r) { return Point{r.left + 9, r.top + 9}; }

// Flags rect circle arrow text pen save finish draw panel, then the width.
std::string Flags(const ToolState& s) {
    std::string t;
    for (int f : {s.m_bRect, s.m_bCircle, s.m_bArrow, s.m_bText, s.m_bPen, s.m_bSave, s.m_bFinish, s.m_bDrawMode,
                  s.m_bPanelShown})
        t += static_cast<char>('0' + f);
    return t + "/" + std::to_string(s.m_nPenWidth);
}

// The bar's part of carrying out a click.
Actions Carry(const Actions& actions, ToolState* s) {
    for (const Action& a : actions)
        if (a.kind == Action::Apply) ApplyButton(s, a.button);
    return actions;
}

}  // namespace

TEST(ToolBarInput, HoverStepNotifiesEveryMoveInsideAndTheMoveThatLeaves) {
    // state before, x, y, then state after, hand cursor, notify as digits
    const int cases[][4] = {
        {0, 485, 307, 111}, {1, 508, 330, 111}, {1, 509, 330, 1}, {1, 500, 331, 1}, {0, 484, 320, 0}};
    for (const auto& c : cases) {
        int state = c[0];
        const Hover h = HoverStep(Rect{485, 307, 509, 331}, &state, Point{c[1], c[2]});
        EXPECT_EQ(state * 100 + h.over * 10 + h.notify, c[3]) << c[1] << "," << c[2];
    }
}

TEST(ToolBarInput, FiringEachButton) {
    ToolState start;  // everything the buttons change is set otherwise
    start.m_bText = start.m_bSave = start.m_bFinish = start.m_bPanelShown = 1;
    start.m_nPenWidth = 5;
    const struct { Button b; Actions effects; std::string flags; } cases[] = {
        {BtnRect, {kCommit, Apply(BtnRect)}, "100000011/5"},
        {BtnCircle, {kCommit, Apply(BtnCircle)}, "010000011/5"},
        {BtnArrow, {kCommit, Apply(BtnArrow)}, "001000011/5"},
        {BtnText, {Apply(BtnText)}, "000100011/5"},  // an open text box stays open
        {BtnPen, {kCommit, Apply(BtnPen)}, "000010011/5"},
        {BtnReturn, {Post(kMsgUndo)}, "000101101/5"},
        {BtnSave, {kCommit, Apply(BtnSave), Post(kMsgSave)}, "000001001/5"},
        {BtnClose, {Post(kMsgClose)}, "000101101/5"},
        {BtnFinish, {kCommit, Apply(BtnFinish), Post(kMsgFinish)}, "000000101/5"},
        {BtnOne, {Apply(BtnOne)}, "000101101/2"},
        {BtnMid, {Apply(BtnMid)}, "000101101/5"},
        {BtnBig, {Apply(BtnBig)}, "000101101/8"},
        {BtnColor, {kPick}, "000101101/5"},
    };
    for (const auto& c : cases) {
        ToolState s = start;
        EXPECT_EQ(Carry(FireButton(c.b), &s), c.effects) << "button " << c.b;
        EXPECT_EQ(Flags(s), c.flags) << "button " << c.b;
    }
}

TEST(ToolBarInput, ClickIsAPressAndAReleaseOnTheSameVisitedButton) {
    ButtonRects r = PlacedBar();
    ToolState s;
    const Point onRect = Centre(r[BtnRect]), onBig = Centre(r[BtnBig]);
    const Actions none, rectClick{kCommit, Apply(BtnRect)};
    Rect pressed = PressedRect(r, VisitedButtons(s), Rect{}, onRect);
    EXPECT_EQ(Release(s, r, pressed, Centre(r[BtnCircle])), none);  // released on another button
    EXPECT_EQ(Release(s, r, pressed, Point{r[BtnRect].right, onRect.y}), none);
    // Off and back again, or a press that hit nothing in between: it fires,
    // and again for the same tool.
    pressed = PressedRect(r, VisitedButtons(s), pressed, Point{100, 100});
    EXPECT_EQ(Carry(Release(s, r, pressed, onRect), &s), rectClick);
    EXPECT_EQ(Carry(Release(s, r, pressed, onRect), &s), rectClick);
    // Close and save are told apart by their places on the screen.
    EXPECT_EQ(Release(s, r, PressedRect(r, 9, pressed, {670, 310}), {670, 310}), Actions{Post(kMsgClose)});

    // The panel's buttons answer only while the panel is shown...
    const ToolState hidden;
    EXPECT_EQ(PressedRect(r, VisitedButtons(hidden), Rect{}, onBig), Rect{});
    EXPECT_EQ(Release(hidden, r, r[BtnBig], onBig), none);
    EXPECT_EQ(PressedRect(r, VisitedButtons(s), Rect{}, onBig), r[BtnBig]);
    EXPECT_EQ(Release(s, r, r[BtnBig], onBig), Actions{Apply(BtnBig)});
    // ... as the bar's buttons leave it: a colour button lying on a bar button
    // answers the same release after a first tool choice, not after a save.
    r[BtnColor] = r[BtnRect];
    EXPECT_EQ(Release(hidden, r, r[BtnRect], onRect), (Actions{kCommit, Apply(BtnRect), kPick}));
    r[BtnColor] = r[BtnSave];
    EXPECT_EQ(Release(hidden, r, r[BtnSave], Centre(r[BtnSave])), (Actions{kCommit, Apply(BtnSave), Post(kMsgSave)}));
}
