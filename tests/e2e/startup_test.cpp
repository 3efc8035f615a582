// Starting the program: a capture opens by itself and shows the screen as it
// was, frozen; the word "nostart" on the command line keeps it idle.
#include "tests/e2e/Driver.h"

#include <psapi.h>

#include <cctype>

using namespace e2e;

namespace {

class Startup : public Fixture {
protected:
    // Runs the program with `args` and checks it stays idle for a second:
    // nothing covers the driver's pattern, which keeps reacting to a switch.
    void ExpectIdle(const std::string& args) {
        Program program(args);
        ASSERT_TRUE(program.Started()) << program.StartError();
        ASSERT_NE(program.WaitHost(3000), nullptr) << "no host window";
        // The capture would open 10 ms after start; watch well past that.
        EXPECT_EQ(ScreenKeepsShowing(Pattern::First, 1000, "idle-first"), "");
        EXPECT_TRUE(program.CaptureWindows().empty());
        EXPECT_TRUE(program.VisibleWindows().empty()) << program.VisibleWindows().size() << " visible windows";
        pattern_->Show(Pattern::Second);
        EXPECT_EQ(WaitScreenShows(Pattern::Second, 1000, "idle-second"), "") << "something covers the screen";
        EXPECT_TRUE(program.Running()) << program.Summary();
    }

    // Runs the program with `args` and checks a capture opens.
    void ExpectCaptureOpens(const std::string& args) {
        Program program(args);
        ASSERT_TRUE(program.Started()) << program.StartError();
        HWND capture = program.WaitCaptures(1, 3000);
        ASSERT_NE(capture, nullptr) << "no capture window within 3 s; " << program.Summary();
        EXPECT_EQ(WaitScreenShows(Pattern::First, 1000, "capture"), "");
        EXPECT_TRUE(program.Running());
    }
};

bool ModuleLoaded(HANDLE process, const std::string& name) {
    HMODULE modules[512];
    DWORD bytes = 0;
    if (!EnumProcessModules(process, modules, sizeof modules, &bytes)) return false;
    for (DWORD i = 0; i < bytes / sizeof(HMODULE); ++i) {
        char path[MAX_PATH] = "";
        GetModuleBaseNameA(process, modules[i], path, MAX_PATH);
        std::string base(path);
        for (char& c : base) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (base == name) return true;
    }
    return false;
}

}  // namespace

TEST_F(Startup, CaptureCoversScreenAlone) {
    Program program;
    ASSERT_TRUE(program.Started()) << program.StartError();
    HWND capture = program.WaitCaptures(1, 3000);
    ASSERT_NE(capture, nullptr) << "no capture window within 3 s; " << program.Summary();
    // Give a second one the chance to appear before counting.
    Idle(200);
    ASSERT_EQ(program.CaptureWindows().size(), 1u);
    EXPECT_EQ(program.VisibleWindows().size(), 1u) << "other visible windows besides the capture";

    RECT r = WindowRect(capture);
    EXPECT_EQ(Describe(r), Describe(RECT{0, 0, ScreenWidth(), ScreenHeight()}));
    EXPECT_TRUE(IsWindowVisible(capture));
    EXPECT_TRUE(IsTopmost(capture));
    LONG_PTR style = Style(capture) & ~static_cast<LONG_PTR>(WS_CLIPSIBLINGS);
    EXPECT_EQ(Hex(static_cast<uint32_t>(style)), Hex(WS_POPUP | WS_VISIBLE));
    EXPECT_EQ(ExStyle(capture) & WS_EX_APPWINDOW, 0);
    EXPECT_NE(program.Host(), capture);
    // The dialogs' library costs every launch tens of milliseconds, the
    // shell's its memory; each is loaded when first asked for. (Checked
    // against one always there.)
    EXPECT_TRUE(ModuleLoaded(program.Handle(), "user32.dll"));
    EXPECT_FALSE(ModuleLoaded(program.Handle(), "comdlg32.dll"));
    EXPECT_FALSE(ModuleLoaded(program.Handle(), "shell32.dll"));
}

TEST_F(Startup, CaptureShowsFrozenScreen) {
    Program program;
    ASSERT_TRUE(program.Started()) << program.StartError();
    ASSERT_NE(program.WaitCaptures(1, 3000), nullptr) << "no capture window within 3 s; " << program.Summary();
    // Bright and pixel-exact: not dimmed, not shifted, and the capture window
    // itself is not part of the picture.
    ASSERT_EQ(WaitScreenShows(Pattern::First, 1000, "frozen"), "");

    // The live screen beneath changes; the capture keeps the old picture.
    pattern_->Show(Pattern::Second);
    EXPECT_EQ(ScreenKeepsShowing(Pattern::First, 400, "after-switch"), "");

    // Once the program is gone the live screen shows again, proving the
    // switch did happen underneath.
    ASSERT_TRUE(program.PostToHost(3025));
    ASSERT_TRUE(program.WaitExit(2000));
    EXPECT_EQ(WaitScreenShows(Pattern::Second, 1000, "after-exit"), "");
}

TEST_F(Startup, NoStartKeepsIdle) { ExpectIdle("nostart"); }

TEST_F(Startup, NoStartInsideWordKeepsIdle) { ExpectIdle("xnostartx"); }

TEST_F(Startup, NoStartAmongOtherArguments) { ExpectIdle("--first \"two words\" nostart last"); }

TEST_F(Startup, NoStartInsideLongArgumentKeepsIdle) {
    std::string arg(3000, 'a');
    arg += "nostart";
    arg += std::string(3000, 'b');
    ExpectIdle(arg);
}

TEST_F(Startup, NoStartIsCaseSensitiveUpper) { ExpectCaptureOpens("NOSTART"); }

TEST_F(Startup, NoStartIsCaseSensitiveMixed) { ExpectCaptureOpens("NoStart"); }

TEST_F(Startup, OtherArgumentsStillCapture) { ExpectCaptureOpens("no start nostar n0start nostArt"); }
