#pragma once
// The annotation tool bar of a capture session. It has no window of its own:
// the session lays it out next to the selection, draws it onto its work
// surface at every composition and hands it every mouse move, left press and
// left release before its own handling. The bar answers with window messages
// to the session (resources/Messages.h) and keeps the tool state that the
// session reads when the user draws.
#include <windows.h>

#include <array>
#include <memory>
#include <vector>

#include "framework/Geometry.h"
#include "platform/BlendSprite.h"
#include "platform/GdiHandles.h"
#include "platform/Gdiplus.h"
#include "toolbar/ToolBarInput.h"
#include "toolbar/ToolState.h"

// One skinned button: a strip of three frames composed once over its
// background patch, a place on the screen and a hover state (0 normal,
// 1 pointer over it), which is also the frame drawn.
class CChildSituationCtrl {
public:
    CChildSituationCtrl();
    virtual ~CChildSituationCtrl();
    CChildSituationCtrl(const CChildSituationCtrl&) = delete;
    CChildSituationCtrl& operator=(const CChildSituationCtrl&) = delete;

    // m_rc = (x, y, x + frame width, y + height).
    void SetOrigin(Point p);
    // Copies the current frame to the top-left corner of m_rc (into the
    // target's memory when there is one, the context's drawing flushed).
    void Draw(HDC hdc, const PixelTarget& target = PixelTarget{}) const;
    // The hover step for a pointer at p: inside, the hand cursor and state 1;
    // leaving, state 0. True when the session is to hear of it (every move
    // inside, and the move that leaves).
    bool UpdateHover(Point p);

    Rect m_rc;
    int m_nFrameWidth = 0;
    int m_nHeight = 0;
    int m_nState = 0;
    // The strip's context and DIB section; ReleaseSkin of the bar lets go of
    // them, context first (the owners still release them if it never runs).
    UniqueDC m_hMemDC;
    UniqueBitmap m_hBitmap;
    // The strip's pixels, all frames side by side, while m_hBitmap holds them.
    const uint32_t* m_pBits = nullptr;
    int m_nStripWidth = 0;
};

class CToolBars : public ToolState {
public:
    CToolBars();
    virtual ~CToolBars();
    CToolBars(const CToolBars&) = delete;
    CToolBars& operator=(const CToolBars&) = delete;

    // Reads the skin (relative to the working directory) and composes the
    // thirteen sprite strips; lays both rows out at the origin. Returns 1.
    int LoadSkin();
    // The window the bar's messages go to (the session's).
    void SetTarget(HWND target) { m_hTarget = target; }
    // Row layout for an anchor point, and the panel's.
    void SetPosition(int x, int y);
    void SetPanelPosition(int x, int y);
    // The bar, and the panel while it is shown; straight into the target's
    // memory where it can be (the memory `dc` draws on).
    void Draw(HDC dc, const PixelTarget& target = PixelTarget{});
    void DrawSwatch(HDC dc);
    // Lets go of every strip and image.
    void ReleaseSkin();

    // Mouse events of the session's client area, before the session's own.
    void OnMouseMove(UINT flags, Point p);
    void OnLButtonDown(UINT flags, Point p);
    void OnLButtonUp(UINT flags, Point p);

    // The platform's colour chooser owned by `owner`, opening on black with
    // the custom colours shown. True and *colour set when the user confirms.
    bool PickColor(HWND owner, COLORREF* colour);

    // The bar's rectangle, and the area the panel is drawn in (background,
    // buttons and swatch), for partial repaints.
    Rect BarRect() const { return Rect{m_nBarLeft, m_nBarTop, m_nBarRight, m_nBarBottom}; }
    Rect PanelArea() const;
    // Where the bar and the panel would lie for these anchors (what
    // SetPosition and SetPanelPosition would make of them), without moving them.
    Rect BarRectAt(int x, int y) const;
    Rect PanelAreaAt(int x, int y) const;
    // Everything but the position that the bar's and panel's pixels depend
    // on: the buttons' frames, the swatch colour, whether the panel shows.
    std::vector<int> Look() const;

    gdip::Image m_pBarImage;
    std::unique_ptr<CChildSituationCtrl> m_pBtnRect;
    std::unique_ptr<CChildSituationCtrl> m_pBtnCircle;
    std::unique_ptr<CChildSituationCtrl> m_pBtnArrow;
    std::unique_ptr<CChildSituationCtrl> m_pBtnText;
    std::unique_ptr<CChildSituationCtrl> m_pBtnPen;
    std::unique_ptr<CChildSituationCtrl> m_pBtnReturn;
    std::unique_ptr<CChildSituationCtrl> m_pBtnSave;
    std::unique_ptr<CChildSituationCtrl> m_pBtnClose;
    std::unique_ptr<CChildSituationCtrl> m_pBtnFinish;
    int m_nBarLeft = 0, m_nBarTop = 0;
    int m_nPanelX = 0, m_nPanelY = 0;
    int m_nBarRight = 0, m_nBarBottom = 0;
    Rect m_rcPressed;
    gdip::Image m_pPanelImage;
    // The two backgrounds as the imaging library blends them (see BlendSprite).
    BlendSprite m_barSprite;
    BlendSprite m_panelSprite;
    std::unique_ptr<CChildSituationCtrl> m_pBtnOne;
    std::unique_ptr<CChildSituationCtrl> m_pBtnMid;
    std::unique_ptr<CChildSituationCtrl> m_pBtnBig;
    std::unique_ptr<CChildSituationCtrl> m_pBtnColor;
    Rect m_rcSwatch;
    COLORREF m_crSwatch = 0x000000FF;

private:
    // Compose one button's strip from the image at path over a patch of the
    // bar's background (bar buttons and the colour button) or of the panel's.
    void LoadBarButton(CChildSituationCtrl* button, const char* path, int frames);
    void LoadPanelButton(CChildSituationCtrl* button, const char* path, int frames);
    // The thirteen buttons in list order; null once the skin is released.
    std::array<CChildSituationCtrl*, toolbar::kButtons> Buttons() const;
    toolbar::ButtonRects CurrentRects() const;
    // Carries out the effects of a click in order.
    void Carry(const toolbar::Actions& actions);

    HWND m_hTarget = nullptr;
};
