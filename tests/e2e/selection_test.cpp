// Making and adjusting the selection as a user would: the first drag, moves
// and resizes with the tracker, the keyboard nudge, and the double click that
// puts the selection on the clipboard.
#include <algorithm>

#include "tests/e2e/Driver.h"
#include "tests/e2e/ToolBarDriver.h"

using namespace e2e;

namespace {

const uint32_t kTrackerColour = Rgb(10, 100, 255);

struct Sel {
    int left, top, right, bottom;  // as stored: possibly inverted
    Sel Normalised() const {
        return Sel{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
    }
};

std::string Text(const Sel& s) {
    return "(" + std::to_string(s.left) + ", " + std::to_string(s.top) + ", " + std::to_string(s.right) + ", " +
           std::to_string(s.bottom) + ")";
}

bool OnHandle(const Sel& n, int x, int y) {
    // Handle squares reach two pixels into the selection from its outline.
    const int xs[] = {n.left - 2, (n.left + n.right) / 2 - 2, n.right - 2};
    const int ys[] = {n.top - 2, (n.top + n.bottom) / 2 - 2, n.bottom - 2};
    for (int hx : xs)
        for (int hy : ys)
            if (x >= hx && x < hx + 4 && y >= hy && y < hy + 4) return true;
    return false;
}

int Brightness(uint32_t c) { return static_cast<int>(((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF)); }

class Selection : public CaptureFixture {
protected:
    // What the screen should show for a selection: the snapshot exactly from
    // one pixel inside it (but for the handles), the outline in the tracker's
    // colour one pixel outside it, and the outside dimmed. Empty when it does.
    static std::string Check(const Pixels& screen, const Sel& stored) {
        const Sel n = stored.Normalised();
        const int W = ScreenWidth(), H = ScreenHeight();
        // Near the top of the screen the size label sits inside the selection.
        const int labelTop = n.top - 4 < 30 ? n.top - 4 : n.top - 26;
        auto onLabel = [&](int x, int y) {
            return x >= n.left - 4 && x < n.left + 76 && y >= labelTop && y < labelTop + 20;
        };
        for (int y = std::max(n.top + 1, 0); y < std::min(n.bottom - 1, H); ++y)
            for (int x = std::max(n.left + 1, 0); x < std::min(n.right - 1, W); ++x)
                if (!OnHandle(n, x, y) && !onLabel(x, y) && screen.at(x, y) != PatternColour(Pattern::First, x, y))
                    return "inside differs from the snapshot at (" + std::to_string(x) + ", " + std::to_string(y) +
                           ")";
        auto outline = [&](int x, int y) {
            return x < 0 || y < 0 || x >= W || y >= H || onLabel(x, y) || screen.at(x, y) == kTrackerColour;
        };
        for (int x = n.left - 1; x <= n.right; x += 3)
            if (!outline(x, n.top - 1) || !outline(x, n.bottom))
                return "outline missing at x = " + std::to_string(x);
        for (int y = n.top - 1; y <= n.bottom; y += 3)
            if (!outline(n.left - 1, y) || !outline(n.right, y)) return "outline missing at y = " + std::to_string(y);
        // Outside, away from the label and the tool bar: dimmed.
        const RECT bar = BarFor(n.left, n.top, n.right, n.bottom).rect;
        int checked = 0;
        for (int y = 0; y < H; y += 37)
            for (int x = 0; x < W; x += 41) {
                if (x >= n.left - 10 && x < std::max(n.right, n.left + 80) + 10 && y >= n.top - 70 &&
                    y < n.bottom + 10)
                    continue;
                if (x >= bar.left && x < bar.right && y >= bar.top && y < bar.bottom) continue;
                const uint32_t want = PatternColour(Pattern::First, x, y);
                if (Brightness(want) < 150) continue;
                ++checked;
                if (screen.at(x, y) == want || Brightness(screen.at(x, y)) >= Brightness(want))
                    return "outside not dimmed at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
            }
        if (checked < 20) return "too few outside pixels checked";
        return "";
    }

    // Waits for the screen to show the selection; the failure text otherwise.
    std::string WaitShows(const Sel& stored, const std::string& name) {
        std::string why;
        const bool ok = WaitFor(
            [&] {
                why = Check(GrabScreen(), stored);
                return why.empty();
            },
            2000, 40);
        if (!ok) SaveArtifact(GrabScreen(), name);
        return ok ? "" : why + " for selection " + Text(stored) + " (screen saved as " + name + ")";
    }

    // The picture the double click should give for a stored selection.
    static void ExpectClipboardIs(const Sel& stored) {
        const int W = ScreenWidth(), H = ScreenHeight();
        const int L = std::max(stored.left, 0), T = std::max(stored.top, 0);
        const int R = std::min(stored.right, W), B = std::min(stored.bottom, H);
        Pixels clip = ClipboardBitmap();
        ASSERT_EQ(clip.width, R - L - 4) << "for selection " << Text(stored);
        ASSERT_EQ(clip.height, B - T - 4);
        const Pixels want = PatternPixels(Pattern::First, W, H);
        EXPECT_EQ(FirstDifference(clip, 0, 0, want, L + 2, T + 2, clip.width, clip.height), "");
    }

    void DoubleClickAndExpectEnd(int x, int y) {
        DoubleClick(x, y);
        EXPECT_TRUE(program_->WaitExit(3000)) << "the double click did not end the process";
        EXPECT_EQ(program_->ExitCode(), 0u);
    }

    void ExpectStillRunning(int ms = 400) {
        Idle(ms);
        EXPECT_TRUE(program_->Running()) << program_->Summary();
        EXPECT_EQ(program_->CaptureWindows().size(), 1u);
    }

};

}  // namespace

TEST_F(Selection, PressAloneChangesNothingUntilTheFirstMove) {
    StartCapture();
    MoveTo(500, 400);
    LeftDown();
    EXPECT_EQ(ScreenKeepsShowing(Pattern::First, 400, "after-press"), "") << "the press changed the screen";
    MoveTo(700, 600);
    EXPECT_EQ(WaitShows(Sel{504, 404, 700, 600}, "first-move"), "");
    LeftUp();
}

TEST_F(Selection, FirstDragShowsSelectionAndDoubleClickCopiesIt) {
    StartCapture();
    Drag(POINT{96, 96}, POINT{300, 200}, 12);
    const Sel sel{100, 100, 300, 200};
    EXPECT_EQ(WaitShows(sel, "first-drag"), "");
    // The handles, in the tracker's colour: top-left (98, 98, 102, 102), right (298, 148, 302, 152).
    Pixels screen = GrabScreen();
    for (POINT p : {POINT{98, 98}, POINT{101, 101}, POINT{298, 148}, POINT{301, 151}, POINT{198, 198}})
        EXPECT_EQ(Hex(screen.at(p.x, p.y)), Hex(kTrackerColour)) << p.x << "," << p.y;
    // The size label "208 X 108" in white in its box just above the selection.
    int white = 0;
    for (int y = 74; y < 94; ++y)
        for (int x = 96; x < 176; ++x) white += screen.at(x, y) == 0xFFFFFF;
    EXPECT_GT(white, 15) << "no label text above the selection";

    DoubleClickAndExpectEnd(200, 150);
    ExpectClipboardIs(sel);
}

TEST_F(Selection, TheFirstSelectionEndsWhereTheButtonIsLetGo) {
    // The release can come from further on than the last move seen.
    StartCapture();
    MoveTo(96, 96);
    LeftDown();
    MoveSmoothly(250, 180, 5);
    PostMessageA(capture_, WM_LBUTTONUP, 0, MAKELPARAM(300, 200));
    const Sel sel{100, 100, 300, 200};
    EXPECT_EQ(WaitShows(sel, "ends-at-release"), "");
    LeftUp();
    DoubleClickAndExpectEnd(200, 150);
    ExpectClipboardIs(sel);
}

TEST_F(Selection, InvertedSelectionCopiesLikeItsNormalForm) {
    StartCapture();
    Drag(POINT{600, 500}, POINT{300, 200}, 12);
    const Sel sel{604, 504, 300, 200};
    EXPECT_EQ(WaitShows(sel, "inverted"), "");
    DoubleClickAndExpectEnd(450, 350);
    ExpectClipboardIs(sel.Normalised());
}

TEST_F(Selection, MovingKeepsTheTrueRectangleOnTheScreen) {
    StartCapture();
    Drag(POINT{96, 96}, POINT{300, 200}, 8);
    ASSERT_EQ(WaitShows(Sel{100, 100, 300, 200}, "before-move"), "");
    // Drag the inside far up and left: the pointer is held where the true
    // rectangle (4 pixels around the selection) meets the screen's corner.
    MoveTo(200, 150);
    LeftDown();
    MoveSmoothly(150, 100, 5);
    MoveSmoothly(0, 0, 10);
    Idle(100);
    POINT at;
    GetCursorPos(&at);
    EXPECT_EQ(at.x, 104);
    EXPECT_EQ(at.y, 54);
    LeftUp();
    const Sel moved{4, 4, 204, 104};
    EXPECT_EQ(WaitShows(moved, "moved-corner"), "");
    // Far down and right: the true rectangle stops inside the screen.
    MoveTo(100, 50);
    LeftDown();
    MoveSmoothly(ScreenWidth() - 1, ScreenHeight() - 1, 12);
    Idle(100);
    LeftUp();
    Idle(200);
    DoubleClickAndExpectEnd(ScreenWidth() - 150, ScreenHeight() - 60);
    Pixels clip = ClipboardBitmap();
    EXPECT_EQ(clip.width, 196);
    EXPECT_EQ(clip.height, 96);
}

TEST_F(Selection, ResizingFromEachKindOfHandleMovesItsEdges) {
    StartCapture();
    Drag(POINT{396, 296}, POINT{600, 500}, 8);
    Sel sel{400, 300, 600, 500};
    ASSERT_EQ(WaitShows(sel, "before-resize"), "");
    // Bottom-right corner: right and bottom.
    Drag(POINT{600, 500}, POINT{700, 560}, 6);
    sel = Sel{400, 300, 700, 560};
    EXPECT_EQ(WaitShows(sel, "resize-corner"), "");
    // Top handle (its square spans the middle of the top edge): top only.
    Drag(POINT{550, 300}, POINT{520, 250}, 6);
    sel = Sel{400, 250, 700, 560};
    EXPECT_EQ(WaitShows(sel, "resize-top"), "");
    // Left handle: left only.
    Drag(POINT{400, 405}, POINT{350, 420}, 6);
    sel = Sel{350, 250, 700, 560};
    EXPECT_EQ(WaitShows(sel, "resize-left"), "");
    // Top-left corner dragged past the bottom-right one turns it inside out.
    Drag(POINT{350, 250}, POINT{800, 650}, 10);
    sel = Sel{800, 650, 700, 560};
    EXPECT_EQ(WaitShows(sel, "resize-inverted"), "");
}

TEST_F(Selection, EscapeOrRightPressDuringTrackingRestoresTheRectangle) {
    StartCapture();
    Drag(POINT{396, 296}, POINT{600, 500}, 8);
    const Sel sel{400, 300, 600, 500};
    ASSERT_EQ(WaitShows(sel, "before"), "");
    // Escape during a resize ends only the resize.
    MoveTo(600, 500);
    LeftDown();
    MoveSmoothly(750, 650, 6);
    EXPECT_EQ(WaitShows(Sel{400, 300, 750, 650}, "resizing"), "");
    Key(VK_ESCAPE);
    LeftUp();
    EXPECT_EQ(WaitShows(sel, "after-escape"), "");
    ExpectStillRunning();
    // A right press during a move restores it; its release then ends the capture.
    MoveTo(500, 400);
    LeftDown();
    MoveSmoothly(300, 250, 6);
    EXPECT_EQ(WaitShows(Sel{200, 150, 400, 350}, "moving"), "");
    RightDown();
    EXPECT_EQ(WaitShows(sel, "after-right-press"), "");
    LeftUp();
    RightUp();
    EXPECT_TRUE(program_->WaitExit(3000)) << "the right release did not end the process";
}

TEST_F(Selection, ArrowKeysNudgeAtOnceAndTheCopyFollows) {
    StartCapture();
    Drag(POINT{96, 96}, POINT{300, 200}, 8);
    ASSERT_EQ(WaitShows(Sel{100, 100, 300, 200}, "before-keys"), "");
    for (int i = 0; i < 3; ++i) Key(VK_RIGHT, Shift);
    Key(VK_LEFT);
    Key(VK_DOWN, Shift);
    Key(VK_UP);
    // Shown without any mouse action, and what is shown is what is copied.
    EXPECT_EQ(WaitShows(Sel{99, 99, 302, 200}, "after-keys"), "");
    DoubleClickAndExpectEnd(200, 150);
    ExpectClipboardIs(Sel{99, 99, 302, 200});
}

TEST_F(Selection, ArrowKeysMovePastTheScreenEdge) {
    StartCapture();
    Drag(POINT{6, 6}, POINT{110, 60}, 8);
    ASSERT_EQ(WaitShows(Sel{10, 10, 110, 60}, "near-edge"), "");
    for (int i = 0; i < 30; ++i) Key(VK_LEFT);
    for (int i = 0; i < 5; ++i) Key(VK_UP, Shift);
    EXPECT_EQ(WaitShows(Sel{-20, 10, 80, 55}, "past-edge"), "");
    ExpectStillRunning(100);
}

TEST_F(Selection, DoubleClicksOffTheInsideDoNothing) {
    StartCapture();
    ASSERT_TRUE(ClipboardPutText("before"));
    Drag(POINT{96, 96}, POINT{300, 200}, 8);
    ASSERT_EQ(WaitShows(Sel{100, 100, 300, 200}, "before-clicks"), "");
    DoubleClick(99, 99);    // the top-left handle
    ExpectStillRunning(200);
    DoubleClick(97, 150);   // the band outside the outline, between handles
    ExpectStillRunning(200);
    DoubleClick(800, 700);  // beside the selection
    ExpectStillRunning(200);
    EXPECT_EQ(ClipboardText(), "before");
    EXPECT_EQ(WaitShows(Sel{100, 100, 300, 200}, "after-clicks"), "");
}

TEST_F(Selection, EscapeEndsTheCapture) {
    StartCapture();
    Drag(POINT{96, 96}, POINT{300, 200}, 6);
    Key(VK_ESCAPE);
    EXPECT_TRUE(program_->WaitExit(3000));
    EXPECT_EQ(program_->ExitCode(), 0u);
}

TEST_F(Selection, RightReleaseEndsTheCaptureWithOrWithoutSelection) {
    StartCapture();
    RightClick(700, 500);
    EXPECT_TRUE(program_->WaitExit(3000)) << "without a selection";
    StartCapture();
    Drag(POINT{96, 96}, POINT{300, 200}, 6);
    RightClick(200, 150);
    EXPECT_TRUE(program_->WaitExit(3000)) << "with a selection";
}

TEST_F(Selection, UndoWithNothingToUndoEndsTheCapture) {
    StartCapture();
    Drag(POINT{96, 96}, POINT{300, 200}, 6);
    ASSERT_EQ(WaitShows(Sel{100, 100, 300, 200}, "before-undo"), "");
    Key('Z', Ctrl);
    EXPECT_TRUE(program_->WaitExit(3000));
    EXPECT_EQ(program_->ExitCode(), 0u);
}

TEST_F(Selection, CancelClearsTheSelectionThenEndsTheCaptureOnly) {
    HWND capture = StartCapture();
    Drag(POINT{96, 96}, POINT{300, 200}, 6);
    ASSERT_EQ(WaitShows(Sel{100, 100, 300, 200}, "before-cancel"), "");
    PostMessageA(capture, WM_COMMAND, IDCANCEL, 0);
    Idle(300);
    EXPECT_TRUE(program_->Running());
    EXPECT_EQ(program_->CaptureWindows().size(), 1u) << "the first cancel only clears the selection";
    // The next composition shows the snapshot bright again. A click on the
    // screen's top-left pixel lands on the cleared tracker's handle, so it
    // starts no new selection, and its release recomposes.
    Click(0, 0);
    EXPECT_EQ(WaitScreenShows(Pattern::First, 2000, "after-cancel"), "");
    // Without a selection the cancel ends the capture and leaves the process idle.
    PostMessageA(capture, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitFor([&] { return program_->CaptureWindows().empty(); }, 2000));
    EXPECT_EQ(WaitScreenShows(Pattern::Second, 2000, "idle"), "");
    Idle(300);
    EXPECT_TRUE(program_->Running());
    program_->PostToHost(3025);
    EXPECT_TRUE(program_->WaitExit(3000));
}
