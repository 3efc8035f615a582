#include "toolbar/ToolBarInput.h"

#include "resources/Messages.h"

namespace toolbar {
namespace {

Action SendAction(unsigned message) { return Action{Action::Send, message, BtnRect}; }
Action PostAction(unsigned message) { return Action{Action::Post, message, BtnRect}; }
Action ApplyAction(Button b) { return Action{Action::Apply, 0, b}; }

// A tool choice: exactly that tool, annotation mode, no pending save or
// finish request, and the panel shown.
void ChooseTool(ToolState* s, Button b) {
    s->m_bRect = b == BtnRect;
    s->m_bPen = b == BtnPen;
    s->m_bCircle = b == BtnCircle;
    s->m_bArrow = b == BtnArrow;
    s->m_bText = b == BtnText;
    s->m_bSave = 0;
    s->m_bFinish = 0;
    s->m_bDrawMode = 1;
    s->m_bPanelShown = 1;
}

// A save or finish request: no tool, out of annotation mode, that request
// only. The panel stays as it is.
void Request(ToolState* s, bool save) {
    s->m_bRect = s->m_bPen = s->m_bCircle = s->m_bArrow = s->m_bText = 0;
    s->m_bSave = save;
    s->m_bFinish = !save;
    s->m_bDrawMode = 0;
}

// Visits buttons [first, last) for a release at p and collects what fires.
void FireUnder(const ButtonRects& rects, int first, int last, const Rect& pressed, Point p, ToolState* s,
               Actions* out) {
    for (int i = first; i < last; ++i) {
        if (!rects[i].Contains(p) || rects[i] != pressed) continue;
        const Button b = static_cast<Button>(i);
        for (const Action& a : FireButton(b)) out->push_back(a);
        ApplyButton(s, b);
    }
}

}  // namespace

int VisitedButtons(const ToolState& s) { return s.m_bPanelShown ? kButtons : kBarButtons; }

Hover HoverStep(const Rect& rc, int* state, Point p) {
    Hover h;
    if (rc.Contains(p)) {
        *state = 1;
        h.over = h.notify = true;
    } else if (*state != 0) {
        *state = 0;
        h.notify = true;
    }
    return h;
}

Rect PressedRect(const ButtonRects& rects, int visited, const Rect& pressed, Point p) {
    Rect r = pressed;
    for (int i = 0; i < visited; ++i)
        if (rects[i].Contains(p)) r = rects[i];
    return r;
}

void ApplyButton(ToolState* s, Button b) {
    switch (b) {
    case BtnRect:
    case BtnCircle:
    case BtnArrow:
    case BtnText:
    case BtnPen: ChooseTool(s, b); break;
    case BtnSave: Request(s, true); break;
    case BtnFinish: Request(s, false); break;
    case BtnOne: s->m_nPenWidth = 2; break;
    case BtnMid: s->m_nPenWidth = 5; break;
    case BtnBig: s->m_nPenWidth = 8; break;
    case BtnReturn:
    case BtnClose:
    case BtnColor: break;
    }
}

Actions FireButton(Button b) {
    switch (b) {
    case BtnRect:
    case BtnCircle:
    case BtnArrow:
    case BtnPen: return {SendAction(kMsgCommitText), ApplyAction(b)};
    // Choosing the text tool leaves a text box that is open as it is.
    case BtnText: return {ApplyAction(b)};
    case BtnSave: return {SendAction(kMsgCommitText), ApplyAction(b), PostAction(kMsgSave)};
    case BtnFinish: return {SendAction(kMsgCommitText), ApplyAction(b), PostAction(kMsgFinish)};
    case BtnReturn: return {PostAction(kMsgUndo)};
    case BtnClose: return {PostAction(kMsgClose)};
    case BtnOne:
    case BtnMid:
    case BtnBig: return {ApplyAction(b)};
    case BtnColor: return {Action{Action::PickColor, 0, b}};
    }
    return {};
}

Actions Release(const ToolState& s, const ButtonRects& rects, const Rect& pressed, Point p) {
    ToolState after = s;
    Actions out;
    FireUnder(rects, 0, kBarButtons, pressed, p, &after, &out);
    if (after.m_bPanelShown) FireUnder(rects, kBarButtons, kButtons, pressed, p, &after, &out);
    return out;
}

}  // namespace toolbar
