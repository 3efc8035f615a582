#pragma once
// How the tool bar answers the pointer, free of any window system: the hover
// step of a button, which button a press remembers, which button a release
// fires, and what firing does to the tool state and which messages it sends
// the session. The effects come back as data, in order, so that CToolBars
// only carries them out and the order can be tested here.
#include <array>
#include <vector>

#include "framework/Geometry.h"
#include "toolbar/ToolBarLayout.h"
#include "toolbar/ToolState.h"

namespace toolbar {

// Button rectangles in list order.
using ButtonRects = std::array<Rect, kButtons>;

// The buttons the pointer is offered to: the bar's, and the panel's only
// while the panel is shown.
int VisitedButtons(const ToolState& s);

// One button's hover step for a pointer at p. Inside: state 1, the hand
// cursor, and the session is told (at every move, so it repaints what the
// pointer passes over). Leaving: state 0, told once. Otherwise nothing.
struct Hover {
    bool over = false;    // the pointer is on the button: show the hand
    bool notify = false;  // tell the session (message kMsgHoverChanged)
};
Hover HoverStep(const Rect& rc, int* state, Point p);

// The rectangle a press at p remembers: that of the last visited button
// under p, or the one remembered before when there is none.
Rect PressedRect(const ButtonRects& rects, int visited, const Rect& pressed, Point p);

// One effect of a click, carried out in order by the bar.
struct Action {
    enum Kind {
        Send,       // SendMessage(message) to the session; it returns after the session has acted
        Post,       // PostMessage(message) to the session
        Apply,      // ApplyButton(button) on the tool state
        PickColor,  // run the colour chooser, then update the colour and the swatch
    };
    Kind kind = Send;
    unsigned message = 0;
    Button button = BtnRect;

    friend bool operator==(const Action& a, const Action& b) {
        return a.kind == b.kind && a.message == b.message && a.button == b.button;
    }
};
using Actions = std::vector<Action>;

// The changes of the tool state that firing `b` makes, without its messages.
void ApplyButton(ToolState* s, Button b);

// Firing `b`: the message that must reach the session before the tool state
// changes (the session commits the text being typed), the changes, then the
// requests that the session acts on after the release.
Actions FireButton(Button b);

// The release at p with `pressed` remembered from the press: every visited
// button under p whose rectangle is the pressed one fires. The panel's buttons
// are visited when the panel is shown once the bar's buttons have fired, so a
// first tool choice already opens it to the same release.
Actions Release(const ToolState& s, const ButtonRects& rects, const Rect& pressed, Point p);

}  // namespace toolbar
