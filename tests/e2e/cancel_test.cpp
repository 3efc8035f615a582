// Cancelling a capture that has no selection yet: the capture goes away and
// the program waits, invisible, for the next request.
#include "tests/e2e/Driver.h"

using namespace e2e;

namespace {

class Cancel : public Fixture {
protected:
    void ExpectCancelledBy(UINT message, WPARAM wParam) {
        // What the user had on the clipboard stays there.
        ASSERT_TRUE(ClipboardPutMarkerBitmap(37, 23, 0x3366CC));
        Program program;
        ASSERT_TRUE(program.Started()) << program.StartError();
        HWND capture = program.WaitCaptures(1, 3000);
        ASSERT_NE(capture, nullptr) << "no capture window within 3 s; " << program.Summary();
        ASSERT_EQ(WaitScreenShows(Pattern::First, 1000, "capture"), "");

        ASSERT_TRUE(PostMessageA(capture, message, wParam, 0));
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(capture); }, 2000)) << "the capture window still exists";
        EXPECT_TRUE(program.VisibleWindows().empty()) << program.VisibleWindows().size() << " visible windows";

        // The live screen is back: a change beneath shows.
        pattern_->Show(Pattern::Second);
        EXPECT_EQ(WaitScreenShows(Pattern::Second, 1000, "live"), "");
        EXPECT_EQ(ScreenKeepsShowing(Pattern::Second, 300, "stays-live"), "");
        ASSERT_TRUE(program.Running()) << program.Summary();

        // A new request opens a fresh capture of the screen as it is now.
        ASSERT_TRUE(program.PostToHost(3024));
        ASSERT_NE(program.WaitCaptures(1, 2000), nullptr) << "no capture after 3024; " << program.Summary();
        EXPECT_EQ(WaitScreenShows(Pattern::Second, 1000, "second-capture"), "");

        ASSERT_TRUE(program.PostToHost(3025));
        ASSERT_TRUE(program.WaitExit(2000)) << "still running 2 s after 3025";
        EXPECT_EQ(Hex(program.ExitCode()), Hex(0));

        Pixels clip = ClipboardBitmap();
        ASSERT_EQ(clip.width, 37) << "the clipboard lost the marker bitmap";
        ASSERT_EQ(clip.height, 23);
        EXPECT_EQ(clip.at(0, 0), 0x3366CCu);
        EXPECT_EQ(clip.at(36, 22), 0x3366CCu);
    }
};

}  // namespace

TEST_F(Cancel, CancelCommandEndsCaptureOnly) { ExpectCancelledBy(WM_COMMAND, IDCANCEL); }

TEST_F(Cancel, CloseEndsCaptureOnly) { ExpectCancelledBy(WM_CLOSE, 0); }
