// The tool bar with the real skin against the window system: what it draws,
// the pointer shape, its messages to a window of this test in their order,
// and the colour chooser, answered from a timer while it runs.
#include "toolbar/ToolBars.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ModulePaths.h"
#include "platform/Surface.h"
#include "resources/Messages.h"
#include "tests/support/ScreenPixels.h"

namespace {

constexpr uint32_t kCanvas = 0x00203040;
CToolBars* g_bar = nullptr;
std::vector<std::string> g_log;  // messages to the target, and the flags they found
bool g_pumping = false;

std::string Flags(const ToolState& s) {
    std::string t;
    for (int f : {s.m_bRect, s.m_bCircle, s.m_bArrow, s.m_bText, s.m_bPen, s.m_bSave, s.m_bFinish, s.m_bDrawMode,
                  s.m_bPanelShown})
        t += static_cast<char>('0' + f);
    return t;
}

LRESULT CALLBACK TargetProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg >= kMsgSave && msg <= kMsgCommitText && g_bar)
        g_log.push_back(std::to_string(msg) + (g_pumping ? " posted " : " sent ") + Flags(*g_bar) +
                        (wp || lp ? " with parameters" : ""));
    return DefWindowProcA(hwnd, msg, wp, lp);
}

void Pump() {
    MSG m;
    for (g_pumping = true; PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&m);
    g_pumping = false;
}

Point Centre(const Rect& r) { return Point{r.left + r.Width() / 2, r.top + r.Height() / 2}; }

uint32_t ImagePixel(const gdip::Image& image, int x, int y) {
    Gdiplus::ARGB c = 0;
    Gdiplus::DllExports::GdipBitmapGetPixel(static_cast<Gdiplus::GpBitmap*>(image.get()), x, y, &c);
    return c;
}

class ToolBarTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        gdip::Startup();
        SetWorkingDirectoryToExecutable();  // where the skin is
        WNDCLASSA wc{};
        wc.lpfnWndProc = TargetProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ToolBarTarget";
        RegisterClassA(&wc);
        target_ =
            CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, wc.hInstance, nullptr);
    }
    void SetUp() override {
        ASSERT_EQ(bar_.LoadSkin(), 1);
        bar_.SetTarget(target_);
        bar_.SetPosition(300, 100);
        bar_.SetPanelPosition(300, 100);
        g_bar = &bar_;
        Pump();  // what earlier tests left
        g_log.clear();
        ASSERT_TRUE(canvas_.CreateDib(700, 220));
    }
    void TearDown() override {
        g_bar = nullptr;
        bar_.ReleaseSkin();
    }
    Pixels Draw() {
        std::fill_n(static_cast<uint32_t*>(canvas_.bits()), 700 * 220, kCanvas);
        bar_.Draw(canvas_.dc());
        GdiFlush();
        return ReadDC(canvas_.dc(), 0, 0, 700, 220);
    }
    void Click(const CChildSituationCtrl& down, const CChildSituationCtrl& up) {
        bar_.OnLButtonDown(0, Centre(down.m_rc));
        bar_.OnLButtonUp(0, Centre(up.m_rc));
    }
    // Empty when the button shows frame `frame` of its strip.
    static std::string Shows(const Pixels& p, const CChildSituationCtrl& b, int frame) {
        const Pixels strip = ReadDC(b.m_hMemDC.get(), 0, 0, b.m_nFrameWidth * 3, b.m_nHeight);
        return FirstDifference(p, b.m_rc.left, b.m_rc.top, strip, b.m_nFrameWidth * frame, 0, b.m_nFrameWidth,
                               b.m_nHeight);
    }

    static HWND target_;
    CToolBars bar_;
    Surface canvas_;
};
HWND ToolBarTest::target_ = nullptr;

TEST_F(ToolBarTest, ButtonsShowTheirFramesAndThePanelOnlyWhileShown) {
    // A strip is the button image over the bar's background from (15, 7): at
    // (0, 0) the image is clear, at (4, 12) opaque.
    const gdip::Image image = gdip::Image::FromFileAnsi(".\\skinScreen\\rectangle.png");
    const CChildSituationCtrl& rect = *bar_.m_pBtnRect;
    ASSERT_EQ(rect.m_nFrameWidth * 3, static_cast<int>(image.Width()));
    const Pixels strip = ReadDC(rect.m_hMemDC.get(), 0, 0, rect.m_nFrameWidth * 3, rect.m_nHeight);
    EXPECT_EQ(strip.at(0, 0), ImagePixel(bar_.m_pBarImage, 15, 7) & 0xFFFFFF);
    EXPECT_EQ(strip.at(4, 12), ImagePixel(image, 4, 12) & 0xFFFFFF);

    bar_.OnMouseMove(0, Centre(bar_.m_pBtnArrow->m_rc));
    Pixels p = Draw();
    for (const auto* b : {&bar_.m_pBtnRect, &bar_.m_pBtnCircle, &bar_.m_pBtnArrow, &bar_.m_pBtnText, &bar_.m_pBtnPen,
                          &bar_.m_pBtnReturn, &bar_.m_pBtnSave, &bar_.m_pBtnClose, &bar_.m_pBtnFinish})
        EXPECT_EQ(Shows(p, **b, *b == bar_.m_pBtnArrow ? 1 : 0), "");
    EXPECT_NE(Shows(p, *bar_.m_pBtnArrow, 0), "");  // the hover frame differs
    const Rect bar = bar_.BarRect(), panel = bar_.PanelArea(), swatch = bar_.m_rcSwatch;
    EXPECT_EQ(p.at(bar.left + 41, bar.top + 19), ImagePixel(bar_.m_pBarImage, 41, 19) & 0xFFFFFF);  // between buttons
    for (int y = panel.top; y < panel.bottom; ++y)
        for (int x = panel.left; x < panel.right; ++x) ASSERT_EQ(p.at(x, y), kCanvas) << x << "," << y;

    bar_.m_bPanelShown = 1;
    bar_.m_crSwatch = RGB(10, 200, 30);
    p = Draw();
    for (const auto* b : {&bar_.m_pBtnOne, &bar_.m_pBtnMid, &bar_.m_pBtnBig}) EXPECT_EQ(Shows(p, **b, 0), "");
    EXPECT_EQ(p.at(323, 158), ImagePixel(bar_.m_pPanelImage, 23, 15) & 0xFFFFFF);  // between size buttons
    EXPECT_EQ(swatch, bar_.m_pBtnColor->m_rc);
    for (int y = 0; y < 220; ++y)
        for (int x = 0; x < 700; ++x) {
            if (swatch.Contains(Point{x, y})) {
                ASSERT_EQ(p.at(x, y), Rgb(10, 200, 30)) << x << "," << y;
            } else if (!panel.Contains(Point{x, y}) && !bar.Contains(Point{x, y})) {
                ASSERT_EQ(p.at(x, y), kCanvas) << x << "," << y;
            }
        }
}

TEST_F(ToolBarTest, HandCursorHoverAndCommandMessagesInOrder) {
    const HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
    SetCursor(arrow);
    const Rect pen = bar_.m_pBtnPen->m_rc;
    for (Point p : {Point{pen.left - 1, pen.top}, Centre(bar_.m_pBtnBig->m_rc)}) bar_.OnMouseMove(0, p);
    EXPECT_EQ(GetCursor(), arrow);  // beside a button, and on a hidden panel's
    EXPECT_EQ(bar_.m_pBtnBig->m_nState, 0);
    for (Point p : {Point{pen.left, pen.top}, Centre(pen), Point{pen.right, pen.top}, Point{pen.right + 1, pen.top}})
        bar_.OnMouseMove(0, p);
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_HAND));
    Pump();
    EXPECT_EQ(g_log, std::vector<std::string>(3, "3028 posted 000000000"));  // two moves on it, one off
    g_log.clear();

    Click(*bar_.m_pBtnRect, *bar_.m_pBtnCircle);  // released on another button: nothing
    Click(*bar_.m_pBtnRect, *bar_.m_pBtnRect);
    Click(*bar_.m_pBtnSave, *bar_.m_pBtnSave);
    EXPECT_EQ(Flags(bar_), "000001001");
    Click(*bar_.m_pBtnFinish, *bar_.m_pBtnFinish);
    Click(*bar_.m_pBtnClose, *bar_.m_pBtnClose);
    Pump();
    // The commit finds the flags as they were; the requests come after.
    EXPECT_EQ(g_log, (std::vector<std::string>{"3029 sent 000000000", "3029 sent 100000011", "3029 sent 000001001",
                                               "3024 posted 000000101", "3025 posted 000000101",
                                               "3027 posted 000000101"}));
}

// What the chooser showed, and whether to confirm it.
struct Chooser {
    bool confirm = false;
    HWND owner = nullptr;
    std::string opened;  // red, green, blue
} g_chooser;

void CALLBACK AnswerChooser(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dlg = nullptr;
    auto find = [](HWND h, LPARAM out) -> BOOL {
        char cls[16] = {};
        GetClassNameA(h, cls, sizeof cls);
        if (std::string(cls) == "#32770" && IsWindowVisible(h)) *reinterpret_cast<HWND*>(out) = h;
        return TRUE;
    };
    EnumThreadWindows(GetCurrentThreadId(), find, reinterpret_cast<LPARAM>(&dlg));
    if (!dlg) return;
    KillTimer(nullptr, id);
    g_chooser.owner = GetWindow(dlg, GW_OWNER);
    for (int edit : {706, 707, 708}) {  // red, green, blue: 56, 57, 58 to confirm, 6, 7, 8 to cancel
        char text[8] = {};
        SendDlgItemMessageA(dlg, edit, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        g_chooser.opened += std::string(text) + " ";
        const std::string typed = std::to_string(edit - (g_chooser.confirm ? 650 : 700));
        SendDlgItemMessageA(dlg, edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
    }
    SendDlgItemMessageA(dlg, g_chooser.confirm ? IDOK : IDCANCEL, BM_CLICK, 0, 0);
}

TEST_F(ToolBarTest, ColourChooserOwnedByTheTargetOpensOnBlack) {
    Click(*bar_.m_pBtnText, *bar_.m_pBtnText);  // shows the panel
    bar_.m_crColor = RGB(10, 20, 30);
    for (bool confirm : {true, false}) {
        g_chooser = Chooser{};
        g_chooser.confirm = confirm;
        bar_.m_crSwatch = RGB(255, 0, 0);
        SetTimer(nullptr, 0, 50, AnswerChooser);
        Click(*bar_.m_pBtnColor, *bar_.m_pBtnColor);
        EXPECT_EQ(g_chooser.owner, target_);
        EXPECT_EQ(g_chooser.opened, "0 0 0 ");
        EXPECT_EQ(bar_.m_crColor, RGB(56, 57, 58)) << confirm;  // cancelling keeps it
        EXPECT_EQ(bar_.m_crSwatch, bar_.m_crColor) << confirm;
    }
    const Pixels p = Draw();
    EXPECT_EQ(p.at(Centre(bar_.m_rcSwatch).x, Centre(bar_.m_rcSwatch).y), Rgb(56, 57, 58));
}

}  // namespace
