// The global hotkeys that the host keeps while it waits: Ctrl+Shift+A and
// Ctrl+Shift with the keypad's 1 open a capture; Ctrl+Shift with the main
// keyboard's 1 does not.
#include "tests/e2e/Driver.h"
#include "tests/e2e/ToolBarDriver.h"

using namespace e2e;

namespace {
class Hotkey : public Fixture {
protected:
    void ExpectOpens(WORD vk) {
        Program program("nostart");
        ASSERT_TRUE(program.Started()) << program.StartError();
        ASSERT_NE(program.WaitHost(3000), nullptr);
        Key(vk, Ctrl | Shift);
        EXPECT_NE(program.WaitCaptures(1, 3000), nullptr) << "no capture; " << program.Summary();
        EXPECT_EQ(WaitScreenShows(Pattern::First, 2000, "hotkey-capture"), "");
        Key(VK_ESCAPE);
        EXPECT_TRUE(program.WaitExit(3000)) << "the capture a hotkey opened ends the process like any other";
    }
};
}  // namespace

TEST_F(Hotkey, CtrlShiftAOpensACapture) { ExpectOpens('A'); }

TEST_F(Hotkey, CtrlShiftKeypadOneOpensACapture) { ExpectOpens(VK_NUMPAD1); }

TEST_F(Hotkey, CtrlShiftMainKeyboardOneDoesNot) {
    Program program("nostart");
    ASSERT_TRUE(program.Started()) << program.StartError();
    ASSERT_NE(program.WaitHost(3000), nullptr);
    Key('1', Ctrl | Shift);
    Idle(500);
    EXPECT_TRUE(program.CaptureWindows().empty());
    EXPECT_TRUE(program.Running());
}

TEST_F(Hotkey, DuringACaptureOpensAnotherAboveAndTheFirstKeepsItsArrowKeys) {
    Program program("nostart");
    ASSERT_TRUE(program.Started()) << program.StartError();
    ASSERT_NE(program.WaitHost(3000), nullptr);
    Key('A', Ctrl | Shift);
    HWND first = program.WaitCaptures(1, 3000);
    ASSERT_NE(first, nullptr) << program.Summary();
    ASSERT_EQ(WaitScreenShows(Pattern::First, 2000, "first"), "");
    pattern_->Show(Pattern::Second);
    Drag(POINT{96, 96}, POINT{300, 200}, 8);  // the selection (100, 100, 300, 200)
    // The hotkey arrives as a posted message, which overtakes mouse input
    // still queued: press it only once the release has been handled, which
    // the bar's appearance shows.
    std::string why;
    ASSERT_TRUE(WaitFor([&] { return (why = ShowsBar(GrabScreen(), BarFor(100, 100, 300, 200))).empty(); }, 3000, 40))
        << why;

    Key(VK_NUMPAD1, Ctrl | Shift);
    ASSERT_NE(program.WaitCaptures(2, 3000), nullptr) << program.Summary();
    HWND second = program.CaptureWindows().front();
    EXPECT_NE(second, first) << "the new capture is not above the first";
    // Closed without a selection, the inner capture ends alone.
    PostMessageA(second, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(second); }, 2000));
    ASSERT_EQ(program.CaptureWindows(), std::vector<HWND>{first}) << program.Summary();

    for (int i = 0; i < 3; ++i) Key(VK_RIGHT);
    Idle(200);
    // The copy shows where the selection is now: moved 3 pixels right.
    DoubleClick(200, 150);
    ASSERT_TRUE(program.WaitExit(3000)) << "the double click did not end the process; " << program.Summary()
                                        << "; foreground " << GetForegroundWindow() << ", first " << first;
    const Pixels clip = ClipboardBitmap();
    ASSERT_EQ(clip.width, 196);
    ASSERT_EQ(clip.height, 96);
    const Pixels want = PatternPixels(Pattern::First, ScreenWidth(), ScreenHeight());
    EXPECT_EQ(FirstDifference(clip, 0, 0, want, 105, 102, clip.width, clip.height), "");
}

TEST_F(Hotkey, DuringTheFirstDragEndsItsSelectionWhereThePointerWas) {
    Program program("nostart");
    ASSERT_TRUE(program.Started()) << program.StartError();
    ASSERT_NE(program.WaitHost(3000), nullptr);
    Key('A', Ctrl | Shift);
    ASSERT_NE(program.WaitCaptures(1, 3000), nullptr) << program.Summary();
    ASSERT_EQ(WaitScreenShows(Pattern::First, 2000, "first"), "");
    pattern_->Show(Pattern::Second);
    MoveTo(96, 96);
    LeftDown();
    MoveSmoothly(300, 200, 8);
    // The moves are handled once the selection's far corner shows bright on
    // the dimmed picture. (Until its first composition the overlay shows the
    // snapshot bright everywhere: a hotkey pressed then is taken before the
    // moves still queued, and the selection ends short of the corner.)
    ASSERT_TRUE(WaitFor(
        [] {
            const Pixels shot = GrabScreenRect(80, 80, 211, 111);
            return shot.at(0, 0) != PatternColour(Pattern::First, 80, 80) &&
                   shot.at(210, 110) == PatternColour(Pattern::First, 290, 190);
        },
        3000));
    // With the button still held, a capture opens above and gets the release.
    Key(VK_NUMPAD1, Ctrl | Shift);
    ASSERT_NE(program.WaitCaptures(2, 3000), nullptr) << program.Summary();
    LeftUp();
    HWND second = program.CaptureWindows().front();
    PostMessageA(second, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(second); }, 2000));
    std::string why;
    EXPECT_TRUE(WaitFor([&] { return (why = ShowsBar(GrabScreen(), BarFor(100, 100, 300, 200))).empty(); }, 3000, 40))
        << "the first selection did not end: " << why;
    // Moving without the button changes nothing now.
    MoveSmoothly(400, 300, 4);
    DoubleClick(200, 150);
    ASSERT_TRUE(program.WaitExit(3000)) << program.Summary();
    const Pixels clip = ClipboardBitmap();
    ASSERT_EQ(clip.width, 196);
    ASSERT_EQ(clip.height, 96);
    EXPECT_EQ(FirstDifference(clip, 0, 0, PatternPixels(Pattern::First, ScreenWidth(), ScreenHeight()), 102, 102,
                              clip.width, clip.height),
              "");
}
