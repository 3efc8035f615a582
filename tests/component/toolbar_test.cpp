// The tool bar with the real skin against the window system: the pointer
// shape over its buttons, and its messages to a window of this test in their
// order, with the tool state each of them finds.
#include "toolbar/ToolBars.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ModulePaths.h"
#include "resources/Messages.h"

namespace {

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
    }
    void TearDown() override {
        g_bar = nullptr;
        bar_.ReleaseSkin();
    }
    void Click(const CChildSituationCtrl& down, const CChildSituationCtrl& up) {
        bar_.OnLButtonDown(0, Centre(down.m_rc));
        bar_.OnLButtonUp(0, Centre(up.m_rc));
    }

    static HWND target_;
    CToolBars bar_;
};
HWND ToolBarTest::target_ = nullptr;

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

}  // namespace
