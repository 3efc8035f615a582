// The tracker against the real window system: pixels it draws, the pointer
// shapes it sets, and its modal loop driven by real input and by posted
// messages on a window of this test.
#include "tracker/MyTracker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Surface.h"

// Readable rectangles in failure messages.
void PrintTo(const Rect& r, std::ostream* os) {
    *os << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
}
void PrintTo(const Point& p, std::ostream* os) { *os << "(" << p.x << "," << p.y << ")"; }

namespace {

constexpr unsigned kSessionStyle = 81;
constexpr COLORREF kLine = 0x00FF640A;
constexpr uint32_t kLinePixel = 0x000A64FF;  // the same colour as read from a DIB (0xRRGGBB)
constexpr uint32_t kBackground = 0x00203040;
const Rect kSel{100, 100, 300, 200};

// Where the test window's client area sits on the screen; client and screen
// coordinates differ so that conversions between them are exercised.
constexpr int kWinX = 50;
constexpr int kWinY = 40;

CMyTracker SessionTracker(const Rect& r = kSel) {
    CMyTracker t;
    t.m_nStyle = kSessionStyle;
    t.m_nHandleSize = 4;
    t.m_sizeMin = TrackerSize{8, 8};
    t.m_rect = r;
    return t;
}

// ---------------------------------------------------------------- drawing

struct Canvas {
    Surface surface;
    Canvas(int w, int h) {
        EXPECT_TRUE(surface.CreateDib(w, h));
        for (int i = 0; i < w * h; ++i) px()[i] = kBackground;
    }
    uint32_t* px() const { return static_cast<uint32_t*>(surface.bits()); }
    uint32_t at(int x, int y) const { return px()[y * surface.width() + x] & 0x00FFFFFF; }
};

bool InRect(int x, int y, const Rect& r) { return r.Contains(Point{x, y}); }

// Every pixel of the canvas against the outline of `sel` (one pixel outside
// it) and the given squares; the first few differences as text.
std::string CompareOutlineAndSquares(const Canvas& c, const Rect& sel, const std::vector<Rect>& squares) {
    std::string diffs;
    int count = 0;
    const Rect o = sel.Inflated(1);
    for (int y = 0; y < c.surface.height(); ++y) {
        for (int x = 0; x < c.surface.width(); ++x) {
            bool onOutline = ((x == o.left || x == o.right - 1) && y >= o.top && y < o.bottom) ||
                             ((y == o.top || y == o.bottom - 1) && x >= o.left && x < o.right);
            bool onSquare = false;
            for (const Rect& s : squares) onSquare = onSquare || InRect(x, y, s);
            const uint32_t want = (onOutline || onSquare) ? kLinePixel : kBackground;
            if (c.at(x, y) != want && count++ < 5) {
                char buf[96];
                snprintf(buf, sizeof buf, "(%d,%d)=%06x want %06x; ", x, y, static_cast<unsigned>(c.at(x, y)),
                         static_cast<unsigned>(want));
                diffs += buf;
            }
        }
    }
    if (count) diffs += std::to_string(count) + " pixels differ";
    return diffs;
}

TEST(TrackerShared, MadeOncePerProcess) {
    CMyTracker a;
    CMyTracker b;
    const TrackerSharedInfo info = GetTrackerSharedInfo();
    EXPECT_EQ(info.setUps, 1);
    EXPECT_EQ(static_cast<DWORD>(GetObjectType(info.hatchBrush)), static_cast<DWORD>(OBJ_BRUSH));
    EXPECT_EQ(static_cast<DWORD>(GetObjectType(info.dottedPen)), static_cast<DWORD>(OBJ_PEN));
    EXPECT_EQ(static_cast<DWORD>(GetObjectType(info.solidPen)), static_cast<DWORD>(OBJ_PEN));
    EXPECT_EQ(info.cursors[9], nullptr);  // no such resource in this program
    const int shared = static_cast<int>(GetProfileIntA("windows", "oleinplaceborderwidth", 4));
    EXPECT_EQ(info.handleSize, shared);
    EXPECT_EQ(a.m_nHandleSize, shared);
    EXPECT_EQ(a.m_sizeMin.cx, 2 * shared);
    EXPECT_EQ(a.m_sizeMin.cy, 2 * shared);
    EXPECT_EQ(a.m_nStyle, 0u);
    EXPECT_EQ(a.m_rect, Rect{});
    EXPECT_EQ(a.m_pOwner, nullptr);
    EXPECT_EQ(a.m_crLine, 0u);
}

TEST(TrackerShared, SetColorReplacesBothPens) {
    CMyTracker t;
    const TrackerSharedInfo before = GetTrackerSharedInfo();
    t.SetColor(kLine);
    const TrackerSharedInfo after = GetTrackerSharedInfo();
    EXPECT_EQ(t.m_crLine, kLine);
    EXPECT_EQ(GetObjectType(before.solidPen), 0u) << "replaced pen not deleted";
    EXPECT_EQ(GetObjectType(before.dottedPen), 0u) << "replaced pen not deleted";
    LOGPEN solid{}, dotted{};
    ASSERT_TRUE(GetObject(after.solidPen, sizeof solid, &solid));
    ASSERT_TRUE(GetObject(after.dottedPen, sizeof dotted, &dotted));
    EXPECT_EQ(solid.lopnColor, kLine);
    EXPECT_EQ(dotted.lopnColor, kLine);
    EXPECT_EQ(solid.lopnStyle, static_cast<UINT>(PS_SOLID));
    EXPECT_EQ(dotted.lopnStyle, static_cast<UINT>(PS_DOT));
    EXPECT_EQ(after.setUps, 1);
}

TEST(TrackerDraw, SessionStyleOutlineAndHandles) {
    Canvas c(420, 320);
    CMyTracker t = SessionTracker();
    t.SetColor(kLine);
    t.Draw(c.surface.dc());
    GdiFlush();
    EXPECT_EQ(CompareOutlineAndSquares(c, kSel,
                                       {{98, 98, 102, 102}, {298, 98, 302, 102}, {298, 198, 302, 202},
                                        {98, 198, 102, 202}, {198, 98, 202, 102}, {298, 148, 302, 152},
                                        {198, 198, 202, 202}, {98, 148, 102, 152}}),
              "");
}

TEST(TrackerDraw, InvertedRectDrawsTheSame) {
    Canvas c(420, 320);
    CMyTracker t = SessionTracker(Rect{300, 200, 100, 100});
    t.SetColor(kLine);
    t.Draw(c.surface.dc());
    GdiFlush();
    EXPECT_EQ(CompareOutlineAndSquares(c, kSel,
                                       {{98, 98, 102, 102}, {298, 98, 302, 102}, {298, 198, 302, 202},
                                        {98, 198, 102, 202}, {198, 98, 202, 102}, {298, 148, 302, 152},
                                        {198, 198, 202, 202}, {98, 148, 102, 152}}),
              "");
}

TEST(TrackerDraw, NarrowRectHasNoTopOrBottomHandles) {
    Canvas c(200, 260);
    const Rect narrow{100, 100, 116, 200};
    CMyTracker t = SessionTracker(narrow);
    t.SetColor(kLine);
    t.Draw(c.surface.dc());
    GdiFlush();
    EXPECT_EQ(CompareOutlineAndSquares(c, narrow,
                                       {{98, 98, 102, 102}, {114, 98, 118, 102}, {114, 198, 118, 202},
                                        {98, 198, 102, 202}, {114, 148, 118, 152}, {98, 148, 102, 152}}),
              "");
}

TEST(TrackerDraw, LeavesTheDcAsItWas) {
    Canvas c(420, 320);
    HDC dc = c.surface.dc();
    HPEN pen = CreatePen(PS_SOLID, 3, RGB(1, 2, 3));
    HBRUSH brush = CreateSolidBrush(RGB(4, 5, 6));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    SetBkColor(dc, RGB(7, 8, 9));
    SetBkMode(dc, TRANSPARENT);
    SetROP2(dc, R2_XORPEN);
    SetViewportOrgEx(dc, 5, 6, nullptr);

    CMyTracker t = SessionTracker();
    t.m_nStyle = kSessionStyle | CMyTracker::StyleHatchInside | CMyTracker::StyleHatchedBorder;
    t.SetColor(kLine);
    t.Draw(dc);

    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
    EXPECT_EQ(GetBkColor(dc), RGB(7, 8, 9));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    EXPECT_EQ(GetROP2(dc), R2_XORPEN);
    POINT org{};
    GetViewportOrgEx(dc, &org);
    EXPECT_EQ(org.x, 5);
    EXPECT_EQ(org.y, 6);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
}

TEST(TrackerDraw, HatchedBorderFillsOnlyTheBand) {
    Canvas c(420, 320);
    CMyTracker t = SessionTracker();
    t.m_nStyle = CMyTracker::StyleHatchedBorder | CMyTracker::StyleSolidLine;
    t.SetColor(kLine);
    t.Draw(c.surface.dc());
    GdiFlush();
    const Rect q = t.GetTrueRect();
    ASSERT_EQ(q, (Rect{96, 96, 304, 204}));
    const Rect outline = kSel.Inflated(1);
    int changedOutside = 0, changedInside = 0;
    int bandChanged[4] = {0, 0, 0, 0};  // top, bottom, left, right strips
    for (int y = 0; y < 320; ++y) {
        for (int x = 0; x < 420; ++x) {
            const bool changed = c.at(x, y) != kBackground;
            if (!InRect(x, y, q)) changedOutside += changed;
            else if (InRect(x, y, kSel)) changedInside += changed;
            else if (!InRect(x, y, outline)) {
                const int strip = y < outline.top ? 0 : y >= outline.bottom ? 1 : x < outline.left ? 2 : 3;
                bandChanged[strip] += changed;
            }
        }
    }
    EXPECT_EQ(changedOutside, 0);
    EXPECT_EQ(changedInside, 0);
    for (int i = 0; i < 4; ++i) EXPECT_GT(bandChanged[i], 0) << "strip " << i;
}

// A repaint of what the tracker drew covers only its drawn area: every pixel a
// drawing changes must lie in it, whatever the style, size or orientation.
// Where the pixels are said to be known, a drawing sets exactly those, in the
// line's colour: what a repaint leaves out between two such drawings is then
// truly unchanged.
TEST(TrackerDraw, ChangedPixelsLieInTheDrawnAreaAndKnownOnesAreExact) {
    using C = CMyTracker;
    const struct {
        unsigned style;
        Rect rect;
        bool known;
    } cases[] = {{kSessionStyle, kSel, true},
                 {kSessionStyle, Rect{300, 200, 100, 100}, true},  // inverted
                 {kSessionStyle, {100, 100, 116, 200}, true},      // too narrow for the edge handles
                 {kSessionStyle, {100, 100, 103, 102}, true},
                 {kSessionStyle, {100, 100, 101, 102}, true},      // narrower than the outline's own width
                 {C::StyleDottedLine | C::StyleHandlesInside, kSel, false},
                 {C::StyleSolidLine | C::StyleHandlesInside, kSel, true},
                 {C::StyleHandlesOutside, kSel, true},
                 {C::StyleHatchedBorder | C::StyleSolidLine, kSel, false},
                 {kSessionStyle | C::StyleHatchInside, kSel, false}};
    for (const auto& k : cases) {
        SCOPED_TRACE(testing::Message() << "style " << k.style << " rect " << k.rect.left << "," << k.rect.top);
        Canvas c(420, 320);
        CMyTracker t = SessionTracker(k.rect);
        t.m_nStyle = k.style;
        t.SetColor(kLine);
        t.Draw(c.surface.dc());
        GdiFlush();
        const std::vector<Rect> area = t.DrawnArea();
        const auto drawn = t.DrawnPixels();
        ASSERT_EQ(drawn.has_value(), k.known);
        std::vector<Rect> pixels = k.known ? drawn->lines : std::vector<Rect>{};
        if (k.known) pixels.insert(pixels.end(), drawn->handles.begin(), drawn->handles.end());
        auto in = [](const std::vector<Rect>& rects, int x, int y) {
            return std::any_of(rects.begin(), rects.end(), [x, y](const Rect& r) { return InRect(x, y, r); });
        };
        int changed = 0, outside = 0, wrong = 0;
        for (int y = 0; y < 320; ++y)
            for (int x = 0; x < 420; ++x) {
                const bool isChanged = c.at(x, y) != kBackground;
                changed += isChanged;
                outside += isChanged && !in(area, x, y);
                if (k.known) wrong += c.at(x, y) != (in(pixels, x, y) ? kLinePixel : kBackground);
            }
        EXPECT_GT(changed, 0);
        EXPECT_EQ(outside, 0);
        EXPECT_EQ(wrong, 0);
    }
    // Nor are they known for an outline whose shared pens another tracker
    // has coloured since.
    CMyTracker other = SessionTracker(), mine = SessionTracker();
    mine.SetColor(kLine);
    other.SetColor(RGB(1, 2, 3));
    EXPECT_FALSE(mine.DrawnPixels().has_value());
    mine.SetColor(kLine);
    EXPECT_TRUE(mine.DrawnPixels().has_value());
}

// A subclass that hides the edge handles: drawing and hit tests both follow it.
class CornersOnly : public CMyTracker {
public:
    unsigned GetHandleMask() const override { return 0x0F; }
};

TEST(TrackerDraw, VirtualHandleMaskIsHonoured) {
    Canvas c(420, 320);
    CornersOnly t;
    t.m_nStyle = kSessionStyle;
    t.m_nHandleSize = 4;
    t.m_rect = kSel;
    t.SetColor(kLine);
    t.Draw(c.surface.dc());
    GdiFlush();
    EXPECT_EQ(CompareOutlineAndSquares(c, kSel,
                                       {{98, 98, 102, 102}, {298, 98, 302, 102}, {298, 198, 302, 202},
                                        {98, 198, 102, 202}}),
              "");
    EXPECT_EQ(t.HitTestHandles(Point{200, 99}), CMyTracker::HitMiddle);
    EXPECT_EQ(t.HitTestHandles(Point{100, 100}), CMyTracker::HitTopLeft);
}

// ------------------------------------------------------- window and input

class FakeOwner : public ITrackerOwner {
public:
    HWND hwnd = nullptr;
    int repaints = 0;
    std::vector<BOOL> offHandle;
    HWND TrackerWindow() const override { return hwnd; }
    void RepaintAll() override { ++repaints; }
    void SetOffHandle(BOOL b) override { offHandle.push_back(b); }
};

// Records the steps of a drag.
class RecordingTracker : public CMyTracker {
public:
    std::vector<Rect> drawn;
    std::vector<Rect> changedFrom;
    void DrawTrackerRect(const Rect* r, HWND clip, HDC dc, ITrackerOwner* w) override {
        drawn.push_back(*r);
        CMyTracker::DrawTrackerRect(r, clip, dc, w);
    }
    void OnChangedRect(const Rect& old) override { changedFrom.push_back(old); }
};

constexpr UINT kStealCapture = WM_APP + 1;

// What the test window's procedure sees and does.
struct WindowScript {
    RecordingTracker* tracker = nullptr;
    FakeOwner* owner = nullptr;
    HWND thief = nullptr;          // takes the capture on kStealCapture
    bool trackOnPress = false;     // run Track from WM_LBUTTONDOWN, as the session does
    bool tracked = false;
    BOOL trackResult = FALSE;
    Point pressAt;
    std::vector<Rect> rectAtMove;  // m_rect as each dispatched WM_MOUSEMOVE saw it
    int upsSeen = 0;
};
WindowScript g_script;

LRESULT CALLBACK TestWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_MOUSEMOVE:
        if (g_script.tracker) g_script.rectAtMove.push_back(g_script.tracker->m_rect);
        return 0;
    case WM_LBUTTONUP:
        ++g_script.upsSeen;
        return 0;
    case WM_LBUTTONDOWN:
        if (g_script.trackOnPress && g_script.tracker && !g_script.tracked) {
            g_script.pressAt = Point{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
            g_script.tracked = true;
            g_script.trackResult = g_script.tracker->Track(g_script.owner, g_script.pressAt, TRUE, nullptr);
        }
        return 0;
    case kStealCapture:
        SetCapture(g_script.thief);
        return 0;
    case WM_SETCURSOR:
        return TRUE;  // leave the shape the tests set alone
    default:
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

// Ends a Track that does not end by itself, so a fault fails the test
// instead of hanging it.
class Watchdog {
public:
    Watchdog(HWND target, DWORD ms) : m_target(target), m_ms(ms) {
        m_stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        m_thread = CreateThread(nullptr, 0, &Watchdog::Run, this, 0, nullptr);
    }
    ~Watchdog() {
        SetEvent(m_stop);
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
        CloseHandle(m_stop);
    }
    bool fired() const { return m_fired != 0; }

private:
    static DWORD WINAPI Run(void* p) {
        auto* self = static_cast<Watchdog*>(p);
        if (WaitForSingleObject(self->m_stop, self->m_ms) == WAIT_TIMEOUT) {
            self->m_fired = 1;
            PostMessageW(self->m_target, WM_RBUTTONDOWN, 0, 0);
        }
        return 0;
    }
    HWND m_target;
    DWORD m_ms;
    HANDLE m_stop = nullptr;
    HANDLE m_thread = nullptr;
    volatile LONG m_fired = 0;
};

LPARAM ClientPoint(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

void PumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    MSG m;
    do {
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
}

class TrackerWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        static bool registered = false;
        if (!registered) {
            WNDCLASSW wc{};
            wc.lpfnWndProc = TestWndProc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"TrackerTestWindow";
            wc.hCursor = nullptr;
            wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
            registered = RegisterClassW(&wc) != 0;
        }
        hwnd = CreateWindowExW(WS_EX_TOPMOST, L"TrackerTestWindow", L"tracker", WS_POPUP | WS_VISIBLE, kWinX, kWinY,
                               700, 500, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(hwnd, nullptr);
        thief = CreateWindowExW(0, L"TrackerTestWindow", L"thief", WS_POPUP, 900, 700, 50, 50, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(thief, nullptr);
        SetForegroundWindow(hwnd);
        UpdateWindow(hwnd);
        owner.hwnd = hwnd;
        tracker.m_nStyle = kSessionStyle;
        tracker.m_nHandleSize = 4;
        tracker.m_sizeMin = TrackerSize{8, 8};
        tracker.m_rect = kSel;
        tracker.SetOwner(&owner);
        g_script = WindowScript{};
        g_script.tracker = &tracker;
        g_script.owner = &owner;
        g_script.thief = thief;
        // The pointer rests on the press point: whatever move the system makes
        // up when the capture changes then changes nothing.
        SetCursorPos(kWinX + 301, kWinY + 201);
        PumpFor(50);
        g_script.rectAtMove.clear();
    }
    void TearDown() override {
        if (GetCapture()) ReleaseCapture();
        g_script = WindowScript{};
        DestroyWindow(thief);
        DestroyWindow(hwnd);
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (m.message != WM_QUIT) DispatchMessageW(&m);
        }
    }
    void Post(UINT msg, int x, int y) { PostMessageW(hwnd, msg, 0, ClientPoint(x, y)); }

    BOOL TrackWithWatchdog(Point p, BOOL allowInvert = TRUE) {
        Watchdog dog(hwnd, 5000);
        BOOL r = tracker.Track(&owner, p, allowInvert, nullptr);
        EXPECT_FALSE(dog.fired()) << "Track did not end by itself";
        return r;
    }

    HWND hwnd = nullptr;
    HWND thief = nullptr;
    FakeOwner owner;
    RecordingTracker tracker;
};

// Real input: the session calls Track from its press handler and the loop
// then takes the moves and the release from the input queue.
class TrackerInputTest : public TrackerWindowTest {
protected:
    static INPUT MouseAt(int clientX, int clientY, DWORD extra) {
        const int w = GetSystemMetrics(SM_CXSCREEN);
        const int h = GetSystemMetrics(SM_CYSCREEN);
        const int sx = kWinX + clientX;
        const int sy = kWinY + clientY;
        INPUT in{};
        in.type = INPUT_MOUSE;
        // Rounded up so that the system's scaling back lands on the pixel.
        in.mi.dx = static_cast<LONG>((static_cast<long long>(sx) * 65536 + w - 1) / w);
        in.mi.dy = static_cast<LONG>((static_cast<long long>(sy) * 65536 + h - 1) / h);
        in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | extra;
        return in;
    }
    // Presses at the first point, moves through the rest and releases at the last.
    void Drag(const std::vector<Point>& path) {
        std::vector<INPUT> in;
        in.push_back(MouseAt(path.front().x, path.front().y, 0));
        in.push_back(MouseAt(path.front().x, path.front().y, MOUSEEVENTF_LEFTDOWN));
        for (size_t i = 1; i < path.size(); ++i) in.push_back(MouseAt(path[i].x, path[i].y, 0));
        in.push_back(MouseAt(path.back().x, path.back().y, MOUSEEVENTF_LEFTUP));
        g_script.trackOnPress = true;
        Watchdog dog(hwnd, 5000);
        ASSERT_EQ(SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT)), in.size());
        const DWORD start = GetTickCount();
        MSG m;
        while (!g_script.tracked && GetTickCount() - start < 3000) {
            while (!g_script.tracked && PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
        EXPECT_FALSE(dog.fired()) << "Track did not end by itself";
        ASSERT_TRUE(g_script.tracked) << "the press never reached the window";
        EXPECT_EQ(g_script.pressAt, path.front());
    }
};

TEST_F(TrackerInputTest, ResizeFromBottomRightMovesRightAndBottom) {
    Drag({{301, 201}, {340, 230}, {401, 281}});
    EXPECT_TRUE(g_script.trackResult);
    EXPECT_EQ(tracker.m_rect, (Rect{100, 100, 400, 280}));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_GT(owner.repaints, 0);
}

TEST_F(TrackerInputTest, MoveKeepsTheSize) {
    SetCursorPos(kWinX + 200, kWinY + 150);
    PumpFor(30);
    Drag({{200, 150}, {230, 160}, {260, 190}});
    EXPECT_TRUE(g_script.trackResult);
    EXPECT_EQ(tracker.m_rect, (Rect{160, 140, 360, 240}));
}

TEST_F(TrackerInputTest, PressAndReleaseWithoutMotionChangesNothing) {
    Drag({{301, 201}});
    EXPECT_FALSE(g_script.trackResult);
    EXPECT_EQ(tracker.m_rect, kSel);
    EXPECT_EQ(owner.repaints, 0);
}

// Posted messages: exact control over what the loop sees.
TEST_F(TrackerWindowTest, StepsRepaintOldAndNewAndSeeTheRectBeforeTheStep) {
    Post(WM_MOUSEMOVE, 321, 221);
    Post(WM_MOUSEMOVE, 341, 231);
    Post(WM_LBUTTONUP, 341, 231);
    EXPECT_TRUE(TrackWithWatchdog(Point{301, 201}));
    const Rect first{100, 100, 320, 220};
    const Rect second{100, 100, 340, 230};
    EXPECT_EQ(tracker.m_rect, second);
    // First change: the new rect only; then the old and the new; the release
    // takes the last one away.
    EXPECT_EQ(owner.repaints, 4);
    EXPECT_EQ(tracker.drawn, (std::vector<Rect>{first, first, second, second}));
    EXPECT_EQ(tracker.changedFrom, (std::vector<Rect>{kSel, first, second}));
    // The window's own handlers ran first, seeing the rect before each step.
    EXPECT_EQ(g_script.rectAtMove, (std::vector<Rect>{kSel, first}));
    EXPECT_EQ(g_script.upsSeen, 1);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(TrackerWindowTest, ResizePastTheOppositeEdgeInverts) {
    Post(WM_MOUSEMOVE, 51, 61);
    Post(WM_LBUTTONUP, 51, 61);
    EXPECT_TRUE(TrackWithWatchdog(Point{301, 201}, TRUE));
    EXPECT_EQ(tracker.m_rect, (Rect{100, 100, 50, 60}));
    EXPECT_TRUE(tracker.m_bAllowInvert);
}

TEST_F(TrackerWindowTest, WithoutInversionTheMinimumHolds) {
    Post(WM_MOUSEMOVE, 51, 61);
    Post(WM_LBUTTONUP, 51, 61);
    EXPECT_TRUE(TrackWithWatchdog(Point{301, 201}, FALSE));
    EXPECT_EQ(tracker.m_rect, (Rect{100, 100, 108, 108}));
}

TEST_F(TrackerWindowTest, InvertedRectTrackedFromItsScreenTopLeft) {
    tracker.m_rect = Rect{300, 200, 100, 100};
    Post(WM_MOUSEMOVE, 90, 80);
    Post(WM_LBUTTONUP, 90, 80);
    EXPECT_TRUE(TrackWithWatchdog(Point{100, 100}));
    EXPECT_EQ(tracker.m_rect, (Rect{300, 200, 90, 80}));
}

TEST_F(TrackerWindowTest, EscapeRestoresTheRect) {
    Post(WM_MOUSEMOVE, 350, 260);
    PostMessageW(hwnd, WM_KEYDOWN, 'A', 0);  // other keys do nothing
    PostMessageW(hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
    Post(WM_MOUSEMOVE, 400, 300);  // never reached
    EXPECT_FALSE(TrackWithWatchdog(Point{301, 201}));
    EXPECT_EQ(tracker.m_rect, kSel);
    EXPECT_EQ(owner.repaints, 1);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(TrackerWindowTest, RightPressRestoresTheRect) {
    Post(WM_MOUSEMOVE, 350, 260);
    Post(WM_RBUTTONDOWN, 350, 260);
    EXPECT_FALSE(TrackWithWatchdog(Point{301, 201}));
    EXPECT_EQ(tracker.m_rect, kSel);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(TrackerWindowTest, ReleaseWithoutMotionReturnsFalse) {
    Post(WM_MOUSEMOVE, 301, 201);  // at the press point: no change
    Post(WM_LBUTTONUP, 301, 201);
    EXPECT_FALSE(TrackWithWatchdog(Point{301, 201}));
    EXPECT_EQ(tracker.m_rect, kSel);
    EXPECT_EQ(owner.repaints, 0);
    EXPECT_EQ(tracker.changedFrom, (std::vector<Rect>{kSel}));  // the release still reports
}

TEST_F(TrackerWindowTest, ReleaseElsewhereWithoutAMoveFirstIsNoDrag) {
    // Only moves make a drag; a release alone is taken as a click.
    Post(WM_LBUTTONUP, 350, 260);
    EXPECT_FALSE(TrackWithWatchdog(Point{301, 201}));
    EXPECT_EQ(tracker.m_rect, kSel);
    EXPECT_EQ(owner.repaints, 0);
}

TEST_F(TrackerWindowTest, LosingTheCaptureEndsTheLoop) {
    Post(WM_MOUSEMOVE, 321, 221);
    PostMessageW(hwnd, kStealCapture, 0, 0);
    Post(WM_MOUSEMOVE, 400, 300);  // retrieved after the loss: neither applied nor dispatched
    EXPECT_TRUE(TrackWithWatchdog(Point{301, 201}));
    EXPECT_EQ(tracker.m_rect, (Rect{100, 100, 320, 220}));
    EXPECT_EQ(g_script.rectAtMove.size(), 1u);
    EXPECT_EQ(owner.repaints, 1);
}

TEST_F(TrackerWindowTest, QuitRequestEndsTheLoopAndStaysQueued) {
    Post(WM_MOUSEMOVE, 321, 221);
    PostQuitMessage(7);
    EXPECT_FALSE(TrackWithWatchdog(Point{301, 201}));
    EXPECT_EQ(tracker.m_rect, kSel);
    EXPECT_EQ(GetCapture(), nullptr);
    MSG m{};
    ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit request was swallowed";
    EXPECT_EQ(m.wParam, 7u);
}

TEST_F(TrackerWindowTest, ReturnsAtOnceWhenTheCaptureIsHeld) {
    SetCapture(thief);
    Post(WM_MOUSEMOVE, 350, 260);
    EXPECT_FALSE(TrackWithWatchdog(Point{301, 201}));
    EXPECT_EQ(GetCapture(), thief);
    EXPECT_EQ(tracker.m_rect, kSel);
    EXPECT_EQ(owner.repaints, 0);
    MSG m{};
    EXPECT_TRUE(PeekMessageW(&m, hwnd, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_NOREMOVE)) << "Track took messages";
    ReleaseCapture();
}

TEST_F(TrackerWindowTest, PressOffTheTrackerDoesNotTrack) {
    EXPECT_FALSE(TrackWithWatchdog(Point{97, 150}));  // band between handles
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(tracker.m_rect, kSel);
}

// ---------------------------------------------------------- pointer shape

class TrackerCursorTest : public TrackerWindowTest {
protected:
    static HCURSOR Own(UINT id) { return LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id)); }
    void SetUp() override {
        TrackerWindowTest::SetUp();
        // vertical, horizontal, diagonal down, diagonal up, move
        tracker.SetCursors(136, 135, 132, 133, 134);
        ASSERT_NE(Own(132), nullptr) << "cursor resources missing from the test program";
        owner.offHandle.clear();
    }
    BOOL At(int x, int y, UINT code = HTCLIENT) {
        SetCursorPos(kWinX + x, kWinY + y);
        SetCursor(nullptr);
        return tracker.UpdateCursor(hwnd, code);
    }
};

TEST_F(TrackerCursorTest, OnHandles) {
    EXPECT_TRUE(At(301, 201));
    EXPECT_EQ(owner.offHandle, (std::vector<BOOL>{TRUE, FALSE}));
    EXPECT_EQ(GetCursor(), Own(132));
    EXPECT_TRUE(At(300, 99));
    EXPECT_EQ(GetCursor(), Own(133));
    EXPECT_TRUE(At(200, 99));
    EXPECT_EQ(GetCursor(), Own(136));
    EXPECT_TRUE(At(99, 150));
    EXPECT_EQ(GetCursor(), Own(135));
}

TEST_F(TrackerCursorTest, InvertedRectUsesTheShapeOfWhereTheHandleIs) {
    tracker.m_rect = Rect{300, 200, 100, 100};
    EXPECT_TRUE(At(99, 99));  // answers HitBottomRight, shown as the top-left
    EXPECT_EQ(GetCursor(), Own(132));
    EXPECT_TRUE(At(300, 99));
    EXPECT_EQ(GetCursor(), Own(133));
}

TEST_F(TrackerCursorTest, MiddleOutsideAndOtherHitCodes) {
    EXPECT_TRUE(At(200, 150));
    EXPECT_EQ(owner.offHandle, (std::vector<BOOL>{TRUE}));
    EXPECT_EQ(GetCursor(), Own(134));

    owner.offHandle.clear();
    EXPECT_FALSE(At(20, 20));
    EXPECT_EQ(owner.offHandle, (std::vector<BOOL>{TRUE}));

    owner.offHandle.clear();
    EXPECT_FALSE(At(301, 201, HTCAPTION));
    EXPECT_TRUE(owner.offHandle.empty());
}

TEST_F(TrackerCursorTest, HatchedGapUsesEntryNine) {
    tracker.m_nStyle = CMyTracker::StyleHatchedBorder | CMyTracker::StyleHandlesOutside;
    SetCursor(Own(133));
    EXPECT_TRUE(At(97, 130));  // in the band, between handles
    EXPECT_EQ(GetCursor(), nullptr);  // entry 9 was never loaded
    EXPECT_TRUE(At(200, 150));
    EXPECT_EQ(GetCursor(), Own(134));
}

// Last: takes the shared objects away for the rest of the process.
TEST(TrackerSharedRelease, DeletesTheSharedObjects) {
    CMyTracker t = SessionTracker();
    t.SetColor(kLine);
    const TrackerSharedInfo before = GetTrackerSharedInfo();
    ReleaseTrackerSharedResources();
    const TrackerSharedInfo after = GetTrackerSharedInfo();
    EXPECT_EQ(GetObjectType(before.hatchBrush), 0u);
    EXPECT_EQ(GetObjectType(before.solidPen), 0u);
    EXPECT_EQ(GetObjectType(before.dottedPen), 0u);
    EXPECT_EQ(after.hatchBrush, nullptr);
    EXPECT_EQ(after.solidPen, nullptr);
    ReleaseTrackerSharedResources();  // a second call has nothing left to delete

    // Drawing afterwards still places the handles and draws no outline.
    Canvas c(420, 320);
    t.Draw(c.surface.dc());
    GdiFlush();
    EXPECT_EQ(c.at(99, 120), kBackground);  // on the outline, between handles
    EXPECT_EQ(c.at(99, 99), kLinePixel);
}

}  // namespace
