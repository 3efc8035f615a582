// The session's two ways of composing the picture give the same pixels, and
// the picture they give is the one the user should see: the snapshot bright
// inside the selection, dimmed outside, the tracker and the size label.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "capture/PaintLayout.h"
#include "capture/SnapcrestDlg.h"
#include "platform/Gdiplus.h"
#include "tests/support/PatternScreen.h"
#include "tests/support/ScreenPixels.h"

namespace {

class ComposerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        gdip::Startup();
        pattern_ = new PatternScreen();
        session_ = new CSnapcrestDlg(nullptr);
    }
    static void TearDownTestSuite() {
        delete session_;
        delete pattern_;
    }
    void SetUp() override {
        w_ = session_->m_nScreenWidth;
        h_ = session_->m_nScreenHeight;
        reference_.CreateDib(w_, h_);
        fast_.CreateDib(w_, h_);
    }

    struct Outcome {
        Pixels pixels;
        BOOL barAbove;
    };
    // Composes the current state one way, from the given earlier bar placement.
    Outcome Compose(bool reference, BOOL barAboveBefore) {
        session_->m_bBarAbove = barAboveBefore;
        Surface& target = reference ? reference_ : fast_;
        if (reference)
            session_->ComposeReference(target.dc());
        else
            session_->ComposeFast(target.dc());
        GdiFlush();
        return Outcome{ReadDC(target.dc(), 0, 0, w_, h_), session_->m_bBarAbove};
    }
    void Select(const Rect& r, bool readout) {
        session_->m_bHasSelection = 1;
        session_->m_bShowReadout = readout ? 1 : 0;
        session_->m_tracker.m_rect = r;
    }

    static PatternScreen* pattern_;
    static CSnapcrestDlg* session_;
    int w_ = 0, h_ = 0;
    Surface reference_, fast_;
};
PatternScreen* ComposerTest::pattern_ = nullptr;
CSnapcrestDlg* ComposerTest::session_ = nullptr;

// The read-out's line height and the width of its reference text, which
// decide where it meets the screen's edges.
void ReadoutMetrics(int* lh, int* cx) {
    Surface s;
    s.CreateDib(8, 8);
    UniqueFont font(CreatePointFontA(kReadoutPointSize, kReadoutFace));
    SelectScope select(s.dc(), font.get());
    TEXTMETRICA tm{};
    GetTextMetricsA(s.dc(), &tm);
    SIZE size{};
    GetTextExtentPoint32A(s.dc(), kReadoutReferenceText, kReadoutReferenceLength, &size);
    *lh = tm.tmHeight + tm.tmExternalLeading;
    *cx = size.cx;
}

TEST_F(ComposerTest, BothWaysGiveTheSamePixelsInEveryState) {
    const int W = session_->m_nScreenWidth, H = session_->m_nScreenHeight;
    int lh = 0, cx = 0;
    ReadoutMetrics(&lh, &cx);
    // Without what dimming adds to each value, the fast way would dim the
    // read-out's area with the full-screen image at every move.
    session_->WaitForDimmedSnapshot();
    EXPECT_TRUE(session_->GetDimTable().Ready());
    struct State {
        Rect rect;
        bool readout;
        POINT pointer;  // where the read-out goes
    };
    const State states[] = {
        {{100, 100, 300, 200}, true, {300, 200}},      // resizing from the corner: the box outside
        {{300, 200, 100, 100}, false, {0, 0}},         // inverted
        {{0, 0, W, H}, false, {0, 0}},                 // the whole screen
        {{-50, 10, 100, 60}, true, {60, 40}},          // past the left edge, label inside; box below
        {{W - 120, H - 30, W + 40, H + 20}, true, {W - 60, H - 20}},  // past the bottom right: bar above
        {{500, 5, 900, 25}, false, {0, 0}},            // top within 30 pixels
        {{700, H - 60, 1000, H - 47}, false, {0, 0}},  // bar just fits below
        {{700, H - 60, 1000, H - 46}, false, {0, 0}},  // one pixel lower: above
        {{10, 10, 14, 14}, true, {14, 14}},            // the 4 x 4 press selection
        {{400, 300, 800, 600}, true, {790, 310}},      // moving: the box partly inside
        {{400, 300, 800, 600}, true, {W - 1, 5}},      // top-right corner: left of and below the pointer
        {{400, 300, 800, 600}, true, {900, H - 1}},    // at the bottom edge
        // Where the box meets the screen's edges, which the fast way dims
        // differently: its right end at the right edge, its top at the top.
        {{400, 300, 800, 600}, true, {W - cx - 52, 700}},
        {{400, 300, 800, 600}, true, {900, 6 * lh - 48}},
    };
    for (const State& s : states) {
        for (BOOL before : {0, 1}) {
            Select(s.rect, s.readout);
            SetCursorPos(s.pointer.x, s.pointer.y);
            Outcome ref = Compose(true, before);
            Outcome fast = Compose(false, before);
            SCOPED_TRACE(testing::Message() << "selection (" << s.rect.left << ", " << s.rect.top << ", "
                                            << s.rect.right << ", " << s.rect.bottom << "), pointer "
                                            << s.pointer.x << ", " << s.pointer.y << ", bar above before "
                                            << before);
            EXPECT_EQ(ref.barAbove, fast.barAbove);
            ASSERT_EQ(ref.pixels.data.size(), fast.pixels.data.size());
            EXPECT_EQ("", FirstDifference(ref.pixels, 0, 0, fast.pixels, 0, 0, W, H));
        }
    }
    // Without a selection both show the snapshot bright.
    session_->m_bHasSelection = 0;
    Outcome ref = Compose(true, 0);
    Outcome fast = Compose(false, 0);
    EXPECT_EQ("", FirstDifference(ref.pixels, 0, 0, fast.pixels, 0, 0, W, H));
    EXPECT_EQ(PatternScreen::ColourAt(1234, 567), fast.pixels.at(1234, 567));
}

TEST_F(ComposerTest, CompositionLimitedToAnAreaEqualsTheWholeOneThereAndLeavesTheRest) {
    // A hover frame recomposes only the bar's area of the work surface.
    Select(Rect{400, 300, 800, 600}, false);
    session_->m_pToolBars->m_bPanelShown = 1;
    session_->m_pToolBars->m_pBtnSave->m_nState = 1;
    auto shape = std::make_unique<CShapeRect>();
    shape->m_ptStart = Point{700, 550};
    shape->m_ptEnd = Point{900, 640};  // over the bar
    session_->m_shapes.push_back(std::move(shape));
    const Pixels whole = Compose(false, 0).pixels;
    std::fill_n(static_cast<uint32_t*>(fast_.bits()), w_ * h_, 0x00123456u);
    const Rect area = session_->m_pToolBars->BarRect();
    IntersectClipRect(fast_.dc(), area.left, area.top, area.right, area.bottom);
    const Pixels part = Compose(false, 0).pixels;
    SelectClipRgn(fast_.dc(), nullptr);
    session_->m_shapes.clear();
    session_->m_pToolBars->m_bPanelShown = 0;
    session_->m_pToolBars->m_pBtnSave->m_nState = 0;
    EXPECT_EQ("", FirstDifference(part, area.left, area.top, whole, area.left, area.top, area.Width(), area.Height()));
    for (int y = 0; y < h_; y += 7)
        for (int x = 0; x < w_; x += 7)
            if (!area.Contains(Point{x, y})) {
                ASSERT_EQ(0x123456u, part.at(x, y)) << x << "," << y;
            }
}

TEST_F(ComposerTest, SelectionIsBrightOutsideIsDimmedAndTrackerAndLabelShow) {
    Select(Rect{400, 300, 800, 600}, true);
    SetCursorPos(200, 900);  // the read-out away from what is checked
    Outcome out = Compose(false, 0);
    const Pixels& p = out.pixels;
    // Inside: exactly the snapshot from one pixel inside the selection, but
    // for the handles that reach two pixels into it.
    auto onHandle = [](int x, int y) {
        const int xs[] = {398, 598, 798}, ys[] = {298, 448, 598};
        for (int hx : xs)
            for (int hy : ys)
                if (x >= hx && x < hx + 4 && y >= hy && y < hy + 4) return true;
        return false;
    };
    for (int y = 301; y < 599; ++y)
        for (int x = 401; x < 799; ++x)
            if (!onHandle(x, y)) {
                ASSERT_EQ(pattern_->at(x, y), p.at(x, y)) << x << "," << y;
            }
    // One pixel further out the dimming starts.
    EXPECT_NE(pattern_->at(450, 300), p.at(450, 300));
    // The outline in the tracker's colour on x = 399 and y = 600.
    const uint32_t tracker = Rgb(10, 100, 255);
    session_->m_tracker.SetColor(0x00FF640A);
    out = Compose(false, 0);
    EXPECT_EQ(tracker, out.pixels.at(399, 450));
    EXPECT_EQ(tracker, out.pixels.at(600, 600));
    // Outside: darker than the snapshot, away from the label and bar.
    long darker = 0, total = 0;
    for (int y = 700; y < 1000; y += 11)
        for (int x = 1000; x < 1800; x += 13) {
            uint32_t s = pattern_->at(x, y), d = out.pixels.at(x, y);
            int sb = ((s >> 16) & 0xFF) + ((s >> 8) & 0xFF) + (s & 0xFF);
            int db = ((d >> 16) & 0xFF) + ((d >> 8) & 0xFF) + (d & 0xFF);
            darker += db < sb || sb < 30;
            ++total;
        }
    EXPECT_EQ(total, darker);
    // The label "408 X 308" sits in its box above the selection: white text.
    EXPECT_STREQ("408 X 308", session_->m_szSizeText);
    const Rect box = SizeLabelBox(396, SizeLabelY(Rect{396, 296, 804, 604}, false));
    int white = 0;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x) white += out.pixels.at(x, y) == 0xFFFFFF;
    EXPECT_GT(white, 15) << "label text not drawn";
}

}  // namespace
