#include "toolbar/ToolBars.h"

#include "framework/ColorDialog.h"
#include "platform/DibInfo.h"
#include "resources/Messages.h"
#include "toolbar/ToolBarLayout.h"

using namespace toolbar;

namespace {

// What shows where a button image is transparent and its background patch
// does not reach.
constexpr Gdiplus::ARGB kStripClear = 0x003E3F3F;
constexpr int kFrames = 3;

// Where each strip's background patch is taken from.
constexpr Point kBarPatch{15, 7};
constexpr Point kPanelPatch{10, 7};

// A skin image at its natural size, one image pixel to one device pixel
// (whatever resolution the file records).
void DrawNatural(HDC dc, const gdip::Image& image, int x, int y) {
    if (!image) return;
    gdip::Graphics g(dc);
    const int w = static_cast<int>(image.Width()), h = static_cast<int>(image.Height());
    gdip::DrawImageRectRect(g, image, x, y, w, h, 0, 0, w, h, nullptr);
}

void CaptureNatural(BlendSprite* sprite, const gdip::Image& image) {
    if (!image) return;
    sprite->Capture(static_cast<int>(image.Width()), static_cast<int>(image.Height()),
                    [&image](HDC dc) { DrawNatural(dc, image, 0, 0); });
}

// The background the bar moves with on every step of a drag: blended from
// its capture, or drawn by the library if it could not be captured.
void DrawBackground(HDC dc, const PixelTarget& target, const BlendSprite& sprite, const gdip::Image& image, int x,
                    int y) {
    if (sprite.Ready())
        sprite.BlendOnto(target, dc, x, y);
    else
        DrawNatural(dc, image, x, y);
}

// The strip of `frames` frames from the image at path, over the patch of
// `background` from `patch` on, into the button's own context.
void ComposeStrip(CChildSituationCtrl* b, const char* path, int frames, const gdip::Image& background, Point patch) {
    const gdip::Image image = gdip::Image::FromFileAnsi(path);
    const UINT w = image.Width(), h = image.Height();
    b->m_nFrameWidth = frames > 0 ? static_cast<int>(w / static_cast<UINT>(frames)) : 0;
    b->m_nHeight = static_cast<int>(h);

    const BITMAPINFO bi = TopDownDib32(b->m_nFrameWidth * frames, b->m_nHeight);
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(b->m_hMemDC.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib) return;  // a missing image: a 0 x 0 button, never drawn or hit
    ::SelectObject(b->m_hMemDC.get(), dib);
    b->m_hBitmap.reset(dib);
    b->m_pBits = static_cast<const uint32_t*>(bits);
    b->m_nStripWidth = b->m_nFrameWidth * frames;

    gdip::Graphics g(b->m_hMemDC.get());
    if (!g) return;
    Gdiplus::DllExports::GdipGraphicsClear(g.get(), kStripClear);
    const int iw = static_cast<int>(w), ih = static_cast<int>(h);
    gdip::DrawImageRectRect(g, background, 0, 0, iw, ih, patch.x, patch.y, iw, ih, nullptr);
    gdip::DrawImageRectRect(g, image, 0, 0, iw, ih, 0, 0, iw, ih, nullptr);
}

}  // namespace

// ------------------------------------------------------------------ buttons

CChildSituationCtrl::CChildSituationCtrl() : m_hMemDC(::CreateCompatibleDC(nullptr)) {}

CChildSituationCtrl::~CChildSituationCtrl() {
    // The strip can only be deleted once no context holds it.
    m_hMemDC.Release();
}

void CChildSituationCtrl::SetOrigin(Point p) { m_rc = Rect{p.x, p.y, p.x + m_nFrameWidth, p.y + m_nHeight}; }

void CChildSituationCtrl::Draw(HDC hdc, const PixelTarget& target) const {
    if (target && m_pBits) {
        const int frameLeft = m_nFrameWidth * m_nState;
        target.CopyFrom(m_pBits, m_nStripWidth, Rect{frameLeft, 0, frameLeft + m_nFrameWidth, m_nHeight},
                        m_rc.left - frameLeft, m_rc.top);
        return;
    }
    ::BitBlt(hdc, m_rc.left, m_rc.top, m_nFrameWidth, m_nHeight, m_hMemDC.get(), m_nFrameWidth * m_nState, 0,
             SRCCOPY);
}

bool CChildSituationCtrl::UpdateHover(Point p) {
    const Hover h = HoverStep(m_rc, &m_nState, p);
    if (h.over) ::SetCursor(::LoadCursor(nullptr, IDC_HAND));
    return h.notify;
}

// ------------------------------------------------------------------ the bar

CToolBars::CToolBars() {
    for (auto* b : {&m_pBtnRect, &m_pBtnCircle, &m_pBtnArrow, &m_pBtnText, &m_pBtnPen, &m_pBtnReturn, &m_pBtnSave,
                    &m_pBtnClose, &m_pBtnFinish, &m_pBtnOne, &m_pBtnMid, &m_pBtnBig, &m_pBtnColor})
        *b = std::make_unique<CChildSituationCtrl>();
}

CToolBars::~CToolBars() = default;

std::array<CChildSituationCtrl*, kButtons> CToolBars::Buttons() const {
    return {m_pBtnRect.get(),  m_pBtnCircle.get(), m_pBtnArrow.get(),  m_pBtnText.get(), m_pBtnPen.get(),
            m_pBtnReturn.get(), m_pBtnSave.get(),  m_pBtnClose.get(),  m_pBtnFinish.get(), m_pBtnOne.get(),
            m_pBtnMid.get(),   m_pBtnBig.get(),    m_pBtnColor.get()};
}

ButtonRects CToolBars::CurrentRects() const {
    ButtonRects rects{};
    const auto buttons = Buttons();
    for (int i = 0; i < kButtons; ++i)
        if (buttons[i]) rects[i] = buttons[i]->m_rc;
    return rects;
}

void CToolBars::LoadBarButton(CChildSituationCtrl* button, const char* path, int frames) {
    ComposeStrip(button, path, frames, m_pBarImage, kBarPatch);
}

void CToolBars::LoadPanelButton(CChildSituationCtrl* button, const char* path, int frames) {
    ComposeStrip(button, path, frames, m_pPanelImage, kPanelPatch);
}

int CToolBars::LoadSkin() {
    m_pBarImage = gdip::Image::FromFileAnsi(".\\skinScreen\\icon_bg.png");
    LoadBarButton(m_pBtnRect.get(), ".\\skinScreen\\rectangle.png", kFrames);
    LoadBarButton(m_pBtnCircle.get(), ".\\skinScreen\\round.png", kFrames);
    LoadBarButton(m_pBtnArrow.get(), ".\\skinScreen\\arrow.png", kFrames);
    LoadBarButton(m_pBtnText.get(), ".\\skinScreen\\font.png", kFrames);
    LoadBarButton(m_pBtnPen.get(), ".\\skinScreen\\pen.png", kFrames);
    LoadBarButton(m_pBtnReturn.get(), ".\\skinScreen\\return.png", kFrames);
    LoadBarButton(m_pBtnSave.get(), ".\\skinScreen\\save.png", kFrames);
    LoadBarButton(m_pBtnClose.get(), ".\\skinScreen\\close.png", kFrames);
    LoadBarButton(m_pBtnFinish.get(), ".\\skinScreen\\finish.png", kFrames);
    m_pPanelImage = gdip::Image::FromFileAnsi(".\\skinScreen\\pop_bg.png");
    LoadPanelButton(m_pBtnOne.get(), ".\\skinScreen\\one.png", kFrames);
    LoadPanelButton(m_pBtnMid.get(), ".\\skinScreen\\mid.png", kFrames);
    LoadPanelButton(m_pBtnBig.get(), ".\\skinScreen\\big.png", kFrames);
    LoadBarButton(m_pBtnColor.get(), ".\\skinScreen\\color.png", kFrames);

    // Until the first placement both rows sit at the bar's (still zero) origin.
    const InitialLayout l =
        LayoutInitial(m_nBarLeft, m_nBarTop, static_cast<int>(m_pBarImage.Height()), m_pBtnRect->m_nHeight,
                      static_cast<int>(m_pPanelImage.Height()), m_pBtnOne->m_nHeight);
    const auto buttons = Buttons();
    for (int i = 0; i < kBarButtons; ++i) buttons[i]->SetOrigin(l.bar[i]);
    for (int i = 0; i < kPanelButtons; ++i) buttons[kBarButtons + i]->SetOrigin(l.panel[i]);
    m_rcSwatch = m_pBtnColor->m_rc;
    CaptureNatural(&m_barSprite, m_pBarImage);
    CaptureNatural(&m_panelSprite, m_pPanelImage);
    return 1;
}

void CToolBars::SetPosition(int x, int y) {
    if (!m_pBtnRect) return;  // skin released
    const RowLayout l = LayoutRow(x, y, static_cast<int>(m_pBarImage.Height()), m_pBtnRect->m_nHeight);
    m_nBarLeft = l.bar.left;
    m_nBarTop = l.bar.top;
    m_nBarRight = l.bar.right;
    m_nBarBottom = l.bar.bottom;
    const auto buttons = Buttons();
    for (int i = 0; i < kBarButtons; ++i) buttons[i]->SetOrigin(l.buttons[i]);
}

void CToolBars::SetPanelPosition(int x, int y) {
    if (!m_pBtnOne) return;  // skin released
    m_nPanelX = x;
    m_nPanelY = y;
    const PanelLayout l = LayoutPanel(x, y, static_cast<int>(m_pPanelImage.Height()), m_pBtnOne->m_nHeight);
    const auto buttons = Buttons();
    for (int i = 0; i < kPanelButtons; ++i) buttons[kBarButtons + i]->SetOrigin(l.buttons[i]);
    m_rcSwatch = m_pBtnColor->m_rc;
}

Rect CToolBars::BarRectAt(int x, int y) const {
    if (!m_pBtnRect) return Rect{};
    return LayoutRow(x, y, static_cast<int>(m_pBarImage.Height()), m_pBtnRect->m_nHeight).bar;
}

Rect CToolBars::PanelAreaAt(int x, int y) const {
    if (!m_pBtnOne || !m_bPanelShown) return Rect{};
    const Point o = PanelBackground(x, y);
    const Rect background{o.x, o.y, o.x + static_cast<int>(m_pPanelImage.Width()),
                          o.y + static_cast<int>(m_pPanelImage.Height())};
    const PanelLayout l = LayoutPanel(x, y, static_cast<int>(m_pPanelImage.Height()), m_pBtnOne->m_nHeight);
    const auto buttons = Buttons();
    std::array<Rect, kPanelButtons> panel;
    for (int i = 0; i < kPanelButtons; ++i) {
        const CChildSituationCtrl* b = buttons[kBarButtons + i];
        const Point p = l.buttons[i];
        panel[i] = b ? Rect{p.x, p.y, p.x + b->m_nFrameWidth, p.y + b->m_nHeight} : Rect{};
    }
    // The swatch is the colour button's rectangle.
    return toolbar::PanelArea(background, panel, panel[kPanelButtons - 1]);
}

std::vector<int> CToolBars::Look() const {
    std::vector<int> look;
    look.reserve(kButtons + 2);
    for (const CChildSituationCtrl* b : Buttons()) look.push_back(b ? b->m_nState : -1);
    look.push_back(static_cast<int>(m_crSwatch));
    look.push_back(m_bPanelShown);
    return look;
}

Rect CToolBars::PanelArea() const {
    const Point o = PanelBackground(m_nPanelX, m_nPanelY);
    const Rect background{o.x, o.y, o.x + static_cast<int>(m_pPanelImage.Width()),
                          o.y + static_cast<int>(m_pPanelImage.Height())};
    const ButtonRects rects = CurrentRects();
    std::array<Rect, kPanelButtons> panel;
    for (int i = 0; i < kPanelButtons; ++i) panel[i] = rects[kBarButtons + i];
    return toolbar::PanelArea(background, panel, m_rcSwatch);
}

void CToolBars::Draw(HDC dc, const PixelTarget& target) {
    const auto buttons = Buttons();
    DrawBackground(dc, target, m_barSprite, m_pBarImage, m_nBarLeft, m_nBarTop);
    // The buttons go straight into the memory: what the context drew of the
    // background must be there first, once for them all.
    if (target) ::GdiFlush();
    for (int i = 0; i < kBarButtons; ++i)
        if (buttons[i]) buttons[i]->Draw(dc, target);
    if (!m_bPanelShown) return;
    const Point o = PanelBackground(m_nPanelX, m_nPanelY);
    DrawBackground(dc, target, m_panelSprite, m_pPanelImage, o.x, o.y);
    if (target) ::GdiFlush();
    for (int i = kBarButtons; i < kButtons; ++i)
        if (buttons[i]) buttons[i]->Draw(dc, target);
    DrawSwatch(dc);
}

void CToolBars::DrawSwatch(HDC dc) {
    UniqueBrush brush(::CreateSolidBrush(m_crSwatch));
    UniquePen pen(::CreatePen(PS_DASH, 2, m_crSwatch));
    SelectScope brushScope(dc, brush.get());
    SelectScope penScope(dc, pen.get());
    ::Rectangle(dc, m_rcSwatch.left, m_rcSwatch.top, m_rcSwatch.right, m_rcSwatch.bottom);
}

void CToolBars::ReleaseSkin() {
    for (CChildSituationCtrl* b : Buttons()) {
        if (!b) continue;
        b->m_hMemDC.Release();
        b->m_hBitmap.Release();
        b->m_pBits = nullptr;
    }
    for (auto* b : {&m_pBtnRect, &m_pBtnCircle, &m_pBtnArrow, &m_pBtnText, &m_pBtnPen, &m_pBtnReturn, &m_pBtnSave,
                    &m_pBtnClose, &m_pBtnFinish})
        b->reset();
    m_pBarImage = gdip::Image();
    for (auto* b : {&m_pBtnOne, &m_pBtnMid, &m_pBtnBig, &m_pBtnColor}) b->reset();
    m_pPanelImage = gdip::Image();
    m_barSprite.Release();
    m_panelSprite.Release();
}

// ------------------------------------------------------------------ input

void CToolBars::OnMouseMove(UINT, Point p) {
    const auto buttons = Buttons();
    const int visited = VisitedButtons(*this);
    for (int i = 0; i < visited; ++i)
        if (buttons[i] && buttons[i]->UpdateHover(p) && m_hTarget)
            ::PostMessage(m_hTarget, kMsgHoverChanged, 0, 0);
}

void CToolBars::OnLButtonDown(UINT, Point p) {
    m_rcPressed = PressedRect(CurrentRects(), VisitedButtons(*this), m_rcPressed, p);
}

void CToolBars::OnLButtonUp(UINT, Point p) { Carry(Release(*this, CurrentRects(), m_rcPressed, p)); }

void CToolBars::Carry(const Actions& actions) {
    for (const Action& a : actions) {
        switch (a.kind) {
        case Action::Send:
            if (m_hTarget) ::SendMessage(m_hTarget, a.message, 0, 0);
            break;
        case Action::Post:
            // Without a target a post would become a stray thread message.
            if (m_hTarget) ::PostMessage(m_hTarget, a.message, 0, 0);
            break;
        case Action::Apply: ApplyButton(this, a.button); break;
        case Action::PickColor: {
            COLORREF chosen = m_crColor;
            if (PickColor(m_hTarget, &chosen)) m_crColor = chosen;
            m_crSwatch = m_crColor;
            break;
        }
        }
    }
}

bool CToolBars::PickColor(HWND owner, COLORREF* colour) {
    // Opens on black whatever the current colour, with the custom colours shown.
    CColorDialog dialog(0, CC_FULLOPEN, owner);
    if (dialog.DoModal() != IDOK) return false;
    *colour = dialog.GetColor();
    return true;
}
