// Painting composes and shows only what changed. After every step of random
// sequences of states (selections, moves, resizes, the tracker's colour, the
// read-out beside the pointer, hovers, tools and the panel, shapes added, changed and taken
// away, committed text) the work surface and the window must hold exactly
// what a whole composition of that state gives.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>
#include <sstream>

#include "capture/SnapcrestDlg.h"
#include "platform/Gdiplus.h"
#include "tests/support/PatternScreen.h"
#include "tests/support/ScreenPixels.h"

namespace {

constexpr int kSteps = 60;

class Stepper {
public:
    Stepper(CSnapcrestDlg& s, uint32_t seed) : s_(s), rng_(seed) {
        w_ = s.m_nScreenWidth;
        h_ = s.m_nScreenHeight;
        reference_.CreateDib(w_, h_);
    }

    // One random change, shown the way the session shows changes; then the
    // first difference from a whole composition, or empty.
    std::string Step(int index) { return Show(index, Mutate()); }

    // The change `what` made, shown the way the session shows changes.
    std::string Show(int index, std::string what) {
        // What the change sets off (a moved pointer's hover) happens first.
        Pump();
        // Now and then the selection moves, the repaint is asked for, and it
        // moves again in the same message (as a shape taken back at the
        // release goes): the picture shown is that of the later state.
        const bool late = s_.m_bHasSelection && Rand(0, 3) == 0;
        if (late) {
            auto nudge = [this] { return Rand(1, 30) * (Rand(0, 1) ? 1 : -1); };
            s_.m_tracker.m_rect = s_.m_tracker.m_rect.Offset(nudge(), nudge());
            s_.m_bFullRedraw = 1;
            s_.RepaintAll();
            s_.m_tracker.m_rect = s_.m_tracker.m_rect.Offset(nudge(), nudge());
            what += ", moved, repaint asked, moved again";
        }
        const BOOL barAboveBefore = s_.m_bBarAbove;
        // The whole composition of the state first, while the window still
        // shows the last picture (the read-out reads its colour there).
        s_.ComposeReference(reference_.dc());
        ::GdiFlush();
        const BOOL barAboveReference = s_.m_bBarAbove;
        s_.m_bBarAbove = barAboveBefore;

        s_.m_bFullRedraw = 1;
        if (!late) s_.RepaintAll();
        Pump();
        ::UpdateWindow(s_.m_hWnd);
        ::GdiFlush();
        const bool barAgrees = s_.m_bBarAbove == barAboveReference;

        const Pixels want = ReadDC(reference_.dc(), 0, 0, w_, h_);
        std::string why = FirstDifference(ReadDC(s_.m_dcWork.dc(), 0, 0, w_, h_), 0, 0, want, 0, 0, w_, h_);
        if (why.empty()) {
            HDC window = ::GetDC(s_.m_hWnd);
            const Pixels shown = ReadDC(window, 0, 0, w_, h_);
            ::ReleaseDC(s_.m_hWnd, window);
            why = FirstDifference(shown, 0, 0, want, 0, 0, w_, h_);
            if (!why.empty()) why = "window: " + why;
        } else {
            why = "work surface: " + why;
        }
        if (!barAgrees) why += " (bar placement differs)";
        if (why.empty()) return why;
        std::ostringstream out;
        POINT c{}; ::GetCursorPos(&c);
        const Rect t = s_.m_tracker.GetTrueRect();
        out << "step " << index << " (" << what << "): " << why << " cursor " << c.x << "," << c.y << " sel " << t.left << "," << t.top << "," << t.right << "," << t.bottom << " ro " << s_.m_bShowReadout;
        return out.str();
    }

private:
    int Rand(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    Point RandomPointIn(const Rect& r) { return Point{Rand(r.left, r.right - 1), Rand(r.top, r.bottom - 1)}; }

    std::string Mutate() {
        CToolBars& bar = *s_.m_pToolBars;
        const Rect t = s_.m_tracker.GetTrueRect();
        const Rect inside = t.Intersected(Rect{0, 0, w_, h_}).Inflated(-12);
        switch (Rand(0, 11)) {
        case 0: {  // a new selection anywhere, in any direction
            const int x = Rand(-40, w_ - 20), y = Rand(-40, h_ - 20);
            s_.m_tracker.m_rect = Rect{x, y, x + Rand(-300, 600), y + Rand(-300, 400)};
            s_.m_bHasSelection = 1;
            return "select";
        }
        case 1:  // a move
            s_.m_tracker.m_rect = s_.m_tracker.m_rect.Offset(Rand(-30, 30), Rand(-30, 30));
            return "move";
        case 2: {  // a resize by one edge or corner
            Rect& r = s_.m_tracker.m_rect;
            if (Rand(0, 1)) r.right += Rand(-25, 25); else r.left += Rand(-25, 25);
            if (Rand(0, 1)) r.bottom += Rand(-25, 25); else r.top += Rand(-25, 25);
            return "resize";
        }
        case 3:
            s_.m_tracker.SetColor(Rand(0, 1) ? 0x00FF640A : 0x0082640A);
            return "tracker colour";
        case 4:  // the read-out, with the pointer anywhere, edges included, or in or near the selection
            s_.m_bShowReadout = Rand(0, 3) != 0;
            if (s_.m_bHasSelection && Rand(0, 1)) {
                const Point p = RandomPointIn(t.Normalized().Inflated(60).Intersected(Rect{0, 0, w_, h_}));
                ::SetCursorPos(p.x, p.y);
                return "read-out near";
            }
            ::SetCursorPos(Rand(0, 3) ? Rand(0, w_ - 1) : (Rand(0, 1) ? 0 : w_ - 1),
                           Rand(0, 3) ? Rand(0, h_ - 1) : (Rand(0, 1) ? 0 : h_ - 1));
            return "read-out";
        case 5: {  // the pointer over the bar or off it
            const Rect r = bar.BarRect();
            const Point p = Rand(0, 2) && !r.IsEmpty() ? RandomPointIn(r) : Point{Rand(0, w_ - 1), Rand(0, h_ - 1)};
            bar.OnMouseMove(0, p);
            return "hover";
        }
        case 6:  // a tool, the panel, a colour
            bar.m_bPanelShown = Rand(0, 1);
            bar.m_crSwatch = Rand(0, 1) ? 0x000000FF : 0x00FF8000;
            return "tools";
        case 7:
        case 8: {  // a new shape inside the selection
            if (inside.IsEmpty() || s_.m_shapes.size() > 6) return "no shape";
            std::unique_ptr<CShapeBase> shape;
            switch (Rand(0, 4)) {
            case 0: shape = std::make_unique<CShapeRect>(); break;
            case 1: shape = std::make_unique<CShapeCircle>(); break;
            case 2: shape = std::make_unique<CShapeArrow>(); break;
            case 3: shape = std::make_unique<CShapeDrawPen>(); break;
            default: {
                auto text = std::make_unique<CShapeDrawText>();
                text->m_strText = "Text\r\n\xD6\xD0\xCE\xC4 words that wrap";
                text->m_fTextWidth = static_cast<float>(Rand(20, 300));
                text->m_fTextHeight = static_cast<float>(Rand(10, 120));
                shape = std::move(text);
            }
            }
            shape->m_ptStart = RandomPointIn(inside);
            shape->m_ptEnd = RandomPointIn(inside);
            shape->SetColor(Rand(0, 1) ? 0x000000FF : 0x0000C000);
            shape->m_nPenWidth = 2 + 3 * Rand(0, 2);
            for (int i = Rand(1, 5); i > 0; --i) shape->m_points.push_back(RandomPointIn(inside));
            s_.m_pCurShape = shape.get();
            s_.m_shapes.push_back(std::move(shape));
            return std::string("add ") + typeid(*s_.m_shapes.back()).name();
        }
        case 9: {  // the newest shape changes: its end, or a stroke grows
            if (s_.m_shapes.empty() || inside.IsEmpty()) return "no change";
            CShapeBase& shape = *s_.m_shapes.back();
            shape.m_ptEnd = RandomPointIn(inside);
            shape.m_points.push_back(RandomPointIn(inside));
            return "change shape";
        }
        case 10:  // undo
            if (s_.m_shapes.empty()) return "nothing to undo";
            if (s_.m_pCurShape == s_.m_shapes.back().get()) s_.m_pCurShape = nullptr;
            s_.m_shapes.pop_back();
            return "undo";
        default:  // the cancel command: no selection
            s_.m_bHasSelection = 0;
            s_.m_tracker.m_rect = Rect{-1, -1, -1, -1};
            return "cancel";
        }
    }

    static void Pump() {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }

    CSnapcrestDlg& s_;
    std::mt19937 rng_;
    int w_ = 0, h_ = 0;
    Surface reference_;
};

// Runs `steps` inside a session's modal loop, once it shows.
void InSession(const std::function<void(CSnapcrestDlg&)>& steps) {
    CSnapcrestDlg session(nullptr);
    static const std::function<void(CSnapcrestDlg&)>* current;
    static CSnapcrestDlg* shown;
    current = &steps;
    shown = &session;
    ::SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR id, DWORD) {
        ::KillTimer(nullptr, id);
        (*current)(*shown);
        shown->EndDialog(0);
    });
    session.DoModal();
}

TEST(PaintIdentity, TheFirstReadOutsBlackLinesTurnWhiteWithTheNextComposition) {
    // The lines take the colour the label leaves: black in the first
    // composition with a read-out, white from the next, even where the next
    // composes only what else changed (the outline's colour here).
    gdip::Startup();
    PatternScreen pattern;
    std::vector<std::string> failures;
    InSession([&failures](CSnapcrestDlg& s) {
        Stepper stepper(s, 1);
        s.m_tracker.m_rect = Rect{200, 150, 600, 450};
        s.m_bHasSelection = 1;
        s.m_bShowReadout = 1;
        ::SetCursorPos(560, 300);
        failures.push_back(stepper.Show(0, "the first read-out, across the right edge"));
        s.m_tracker.SetColor(0x00FF640A);
        failures.push_back(stepper.Show(1, "the tracker's colour"));
    });
    EXPECT_EQ(std::vector<std::string>(2), failures);
}

TEST(PaintIdentity, OnlyWhatChangedIsComposedAndShownYetEveryPictureIsTheWholeOne) {
    gdip::Startup();
    PatternScreen pattern;
    for (uint32_t seed : {1u, 2u, 3u}) {
        CSnapcrestDlg session(nullptr);
        std::string failure;
        int steps = 0;
        // The steps run inside the session's own modal loop, once it shows.
        struct Run {
            CSnapcrestDlg* session;
            uint32_t seed;
            std::string* failure;
            int* steps;
        } run{&session, seed, &failure, &steps};
        static Run* current;
        current = &run;
        ::SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR id, DWORD) {
            ::KillTimer(nullptr, id);
            Run& r = *current;
            Stepper stepper(*r.session, r.seed);
            for (int i = 0; i < kSteps && r.failure->empty(); ++i, ++*r.steps) *r.failure = stepper.Step(i);
            r.session->EndDialog(0);
        });
        session.DoModal();
        EXPECT_EQ("", failure) << "seed " << seed;
        EXPECT_EQ(kSteps, steps) << "seed " << seed;
    }
}

}  // namespace
