// The invisible host window that owns the process, and the control messages
// other programs send it: 2024 reopens the way to a new capture, 3024 asks
// for a capture, 3025 ends the program.
#include "tests/e2e/Driver.h"

using namespace e2e;

namespace {

constexpr UINT kReopen = 2024;
constexpr UINT kCapture = 3024;
constexpr UINT kQuit = 3025;

class Host : public Fixture {};
class Control : public Fixture {};

}  // namespace

TEST_F(Host, TitleRectangleAndStyles) {
    Program program("nostart");
    ASSERT_TRUE(program.Started()) << program.StartError();
    HWND host = program.WaitHost(3000);
    ASSERT_NE(host, nullptr) << "no window titled with the program's name";

    EXPECT_EQ(Describe(WindowRect(host)), Describe(RECT{-1000, -1000, 10, 10}));

    const uint32_t style = static_cast<uint32_t>(Style(host));
    EXPECT_EQ(style & ~0x160B0000u, 0u) << "style " << Hex(style) << " has bits beyond 0x160B0000";
    EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_BORDER | WS_THICKFRAME), 0u) << "style " << Hex(style);

    const uint32_t ex = static_cast<uint32_t>(ExStyle(host));
    EXPECT_NE(ex & WS_EX_TOPMOST, 0u) << "ex style " << Hex(ex);
    EXPECT_NE(ex & WS_EX_LAYERED, 0u) << "ex style " << Hex(ex);
    // A tool window without WS_EX_APPWINDOW gets no taskbar button.
    EXPECT_NE(ex & WS_EX_TOOLWINDOW, 0u) << "ex style " << Hex(ex);
    EXPECT_EQ(ex & WS_EX_APPWINDOW, 0u) << "ex style " << Hex(ex);
    EXPECT_EQ(ex & WS_EX_TRANSPARENT, 0u) << "ex style " << Hex(ex);
}

TEST_F(Host, EscapeIsIgnored) {
    Program program("nostart");
    ASSERT_TRUE(program.Started()) << program.StartError();
    HWND host = program.WaitHost(3000);
    ASSERT_NE(host, nullptr);
    ASSERT_TRUE(MakeForeground(host)) << "the host did not become the foreground window";

    Key(VK_ESCAPE);
    Idle(300);
    EXPECT_FALSE(program.WaitExit(500)) << "Escape ended the program, exit code " << Hex(program.ExitCode());
    ASSERT_TRUE(program.Running());
    EXPECT_EQ(program.Host(), host) << "the host window went away";

    // Still listening.
    ASSERT_TRUE(program.PostToHost(kCapture));
    EXPECT_NE(program.WaitCaptures(1, 2000), nullptr) << "no capture after 3024; " << program.Summary();
    ASSERT_TRUE(program.PostToHost(kQuit));
    ASSERT_TRUE(program.WaitExit(2000));
    EXPECT_EQ(program.ExitCode(), 0u);
}

TEST_F(Control, QuitWhileIdle) {
    Program program("nostart");
    ASSERT_TRUE(program.Started()) << program.StartError();
    ASSERT_NE(program.WaitHost(3000), nullptr) << program.Summary();
    Idle(100);
    ASSERT_TRUE(program.Running());
    ASSERT_TRUE(program.PostToHost(kQuit));
    ASSERT_TRUE(program.WaitExit(2000)) << "still running 2 s after 3025";
    EXPECT_EQ(Hex(program.ExitCode()), Hex(0));
}

TEST_F(Control, QuitDuringCapture) {
    Program program;
    ASSERT_TRUE(program.Started()) << program.StartError();
    ASSERT_NE(program.WaitCaptures(1, 3000), nullptr) << program.Summary();
    ASSERT_TRUE(program.PostToHost(kQuit));
    ASSERT_TRUE(program.WaitExit(2000)) << "still running 2 s after 3025";
    EXPECT_EQ(Hex(program.ExitCode()), Hex(0));
    // The capture went with the process; the live screen is back.
    EXPECT_EQ(WaitScreenShows(Pattern::First, 1000, "after-quit"), "");
}

TEST_F(Control, CaptureRequestOpensOne) {
    Program program("nostart");
    ASSERT_TRUE(program.Started()) << program.StartError();
    ASSERT_NE(program.WaitHost(3000), nullptr) << program.Summary();
    ASSERT_TRUE(program.CaptureWindows().empty());

    ASSERT_TRUE(program.PostToHost(kCapture));
    HWND capture = program.WaitCaptures(1, 2000);
    ASSERT_NE(capture, nullptr) << "no capture after 3024; " << program.Summary();
    EXPECT_TRUE(IsTopmost(capture));
    EXPECT_EQ(WaitScreenShows(Pattern::First, 1000, "capture"), "");
    pattern_->Show(Pattern::Second);
    EXPECT_EQ(ScreenKeepsShowing(Pattern::First, 300, "frozen"), "");
}

TEST_F(Control, SecondCaptureRequestIsIgnored) {
    Program program("nostart");
    ASSERT_TRUE(program.Started()) << program.StartError();
    ASSERT_NE(program.WaitHost(3000), nullptr) << program.Summary();
    ASSERT_TRUE(program.PostToHost(kCapture));
    HWND first = program.WaitCaptures(1, 2000);
    ASSERT_NE(first, nullptr);

    ASSERT_TRUE(program.PostToHost(kCapture));
    // Give the request as long as the first one needed and more.
    EXPECT_FALSE(WaitFor([&] { return program.CaptureWindows().size() != 1; }, 700))
        << program.CaptureWindows().size() << " capture windows";
    EXPECT_EQ(program.CaptureWindows().front(), first);
    EXPECT_TRUE(program.Running());
}

TEST_F(Control, ReopenThenRequestNestsCapture) {
    Program program("nostart");
    ASSERT_TRUE(program.Started()) << program.StartError();
    ASSERT_NE(program.WaitHost(3000), nullptr) << program.Summary();
    ASSERT_TRUE(program.PostToHost(kCapture));
    HWND first = program.WaitCaptures(1, 2000);
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(WaitScreenShows(Pattern::First, 1000, "first"), "");

    ASSERT_TRUE(program.PostToHost(kReopen));
    ASSERT_TRUE(program.PostToHost(kCapture));
    ASSERT_NE(program.WaitCaptures(2, 2000), nullptr) << program.CaptureWindows().size() << " capture windows";
    std::vector<HWND> captures = program.CaptureWindows();
    EXPECT_NE(captures.front(), captures.back());
    for (HWND c : captures) EXPECT_TRUE(IsTopmost(c));
    // The nested one froze what the first showed.
    EXPECT_EQ(WaitScreenShows(Pattern::First, 1000, "nested"), "");
    EXPECT_TRUE(program.Running());
}
