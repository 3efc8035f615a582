// The global hotkeys that the host keeps while it waits: Ctrl+Shift+A and
// Ctrl+Shift with the keypad's 1 open a capture; Ctrl+Shift with the main
// keyboard's 1 does not.
#include "tests/e2e/Driver.h"

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
