// A capture session's window as the platform sees it: where it is put, what
// it publishes, and the pointer shape it sets in each state.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "capture/SnapcrestDlg.h"
#include "platform/Gdiplus.h"
#include "resources/resource.h"

namespace {

// Runs steps one after another inside the session's modal loop.
class Script {
public:
    explicit Script(std::vector<std::function<void()>> steps) : steps_(std::move(steps)) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 30, &Script::Tick);
    }
    ~Script() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (!current_ || current_->next_ >= current_->steps_.size()) return;
        current_->steps_[current_->next_++]();
    }
    static Script* current_;
    std::vector<std::function<void()>> steps_;
    size_t next_ = 0;
    UINT_PTR timer_ = 0;
};
Script* Script::current_ = nullptr;

HCURSOR Own(int id) { return LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id)); }

// The shape the session sets with the pointer at (x, y).
HCURSOR ShapeAt(CSnapcrestDlg& s, int x, int y) {
    SetCursorPos(x, y);
    SetCursor(nullptr);
    SendMessageA(s.m_hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(s.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
}

TEST(Session, CoversTheScreenPublishesItselfAndSetsThePointerPerState) {
    gdip::Startup();
    CSnapcrestDlg session(nullptr);
    const int W = GetSystemMetrics(SM_CXSCREEN), H = GetSystemMetrics(SM_CYSCREEN);
    RECT placed{};
    LONG_PTR style = 0, exStyle = 0;
    HCURSOR before = nullptr, firstDrag = nullptr, inside = nullptr, corner = nullptr, side = nullptr,
            beside = nullptr, overBar = LoadCursor(nullptr, IDC_WAIT);  // until the step runs
    BOOL offInside = -1, offCorner = -1;
    Script script({
        [&] {
            GetWindowRect(session.m_hWnd, &placed);
            style = GetWindowLongPtrA(session.m_hWnd, GWL_STYLE);
            exStyle = GetWindowLongPtrA(session.m_hWnd, GWL_EXSTYLE);
            // Before the first release: the session's arrow everywhere.
            before = ShapeAt(session, 500, 400);
            session.m_bHasSelection = 1;
            session.m_bFirstDrag = 1;
            session.m_tracker.m_rect = Rect{504, 404, 700, 600};
            firstDrag = ShapeAt(session, 700, 600);
        },
        [&] {
            session.m_bUpSeen = 1;
            // The pointer's moves went on growing the "first drag" meanwhile.
            session.m_bFirstDrag = 0;
            session.m_tracker.m_rect = Rect{504, 404, 700, 600};
            inside = ShapeAt(session, 600, 500);
            offInside = session.m_bOffHandle;
            corner = ShapeAt(session, 700, 600);
            offCorner = session.m_bOffHandle;
            side = ShapeAt(session, 700, 502);
            beside = ShapeAt(session, 900, 800);
            // Over the tool bar the bar's hover step owns the pointer's shape.
            session.m_bOverToolBar = 1;
            overBar = ShapeAt(session, 900, 800);
            session.EndDialog(0);
        },
    });
    session.DoModal();

    EXPECT_EQ(0, placed.left);
    EXPECT_EQ(0, placed.top);
    EXPECT_EQ(W, placed.right);
    EXPECT_EQ(H, placed.bottom);
    EXPECT_EQ(static_cast<LONG_PTR>(WS_POPUP | WS_VISIBLE), style & ~static_cast<LONG_PTR>(WS_CLIPSIBLINGS));
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);
    EXPECT_NE(nullptr, g_hCaptureWnd);

    const HCURSOR arrow = Own(IDC_SESSION_CURSOR);
    ASSERT_NE(nullptr, arrow);
    EXPECT_EQ(arrow, before);
    EXPECT_EQ(arrow, firstDrag) << "a handle's shape showed during the first drag";
    EXPECT_EQ(Own(IDC_SIZE_ALL), inside);
    EXPECT_EQ(1, offInside);
    EXPECT_EQ(Own(IDC_SIZE_NWSE), corner);
    EXPECT_EQ(0, offCorner);
    EXPECT_EQ(Own(IDC_SIZE_WE), side);
    EXPECT_EQ(arrow, beside);
    EXPECT_EQ(nullptr, overBar) << "the session set its own pointer over the tool bar";
}

TEST(Session, AFirstDragEndsWhereThePointerWasWhenAnotherWindowTakesTheInput) {
    gdip::Startup();
    CSnapcrestDlg session(nullptr);
    BOOL firstDrag = -1, buttonDown = -1;
    Rect ended, afterwards;
    Script script({
        [&] {
            SendMessageA(session.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
            SendMessageA(session.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(300, 200));
            // What a capture opened above this one sends first: no release
            // will come here.
            SendMessageA(session.m_hWnd, WM_CANCELMODE, 0, 0);
            firstDrag = session.m_bFirstDrag;
            buttonDown = session.m_bButtonDown;
            ended = session.m_tracker.m_rect;
            // Once the drag is over, it changes nothing.
            SendMessageA(session.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(400, 300));
            SendMessageA(session.m_hWnd, WM_CANCELMODE, 0, 0);
            afterwards = session.m_tracker.m_rect;
            session.EndDialog(0);
        },
    });
    session.DoModal();
    EXPECT_EQ(0, firstDrag);
    EXPECT_EQ(0, buttonDown);
    EXPECT_EQ((Rect{104, 104, 300, 200}), ended);
    EXPECT_EQ(ended, afterwards);
}

}  // namespace
