// The release as a Windows user gets it: the program unpacked from the zip
// captures from its own folder, and on a display scaled to 150 % the process
// is per-monitor DPI aware and its capture is the screen's physical pixels.
// These run from scripts (e2e-package.sh, e2e-scaled.sh) that prepare the
// folder or the scaled Wine session, not in the driver's normal session.
#include "tests/e2e/ToolBarDriver.h"

#include <cstdio>

using namespace e2e;

namespace {

std::string Environment(const char* name) {
    char buf[1024];
    DWORD n = GetEnvironmentVariableA(name, buf, sizeof buf);
    return n > 0 && n < sizeof buf ? std::string(buf, n) : std::string();
}

class Package : public Fixture {};

class Scaled : public Fixture {
protected:
    void SetUp() override {
        // The driver sees and injects physical pixels too, before it makes any window.
        using SetContextFn = BOOL(WINAPI*)(HANDLE);
        auto set = reinterpret_cast<SetContextFn>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDpiAwarenessContext")));
        ASSERT_NE(nullptr, set);
        // Per monitor v2 where known; refused when the platform fixed it already.
        if (set && !set(reinterpret_cast<HANDLE>(-4))) SetProcessDPIAware();
        Fixture::SetUp();
        if (HasFatalFailure()) return;
        int w = 0, h = 0;
        ASSERT_EQ(2, std::sscanf(Environment("SNAPCREST_SCREEN").c_str(), "%dx%d", &w, &h));
        ASSERT_EQ(w, ScreenWidth()) << "the driver does not see the physical screen";
        ASSERT_EQ(h, ScreenHeight());
    }
};

}  // namespace

TEST_F(Package, UnpackedZipCapturesFromItsOwnFolderWithItsSkin) {
    const std::string folder = Environment("SNAPCREST_UNPACKED");
    ASSERT_FALSE(folder.empty()) << "SNAPCREST_UNPACKED must name the unpacked release folder";
    // Started from elsewhere: the program finds its skin beside itself.
    Program program("", folder + "\\snapcrest.exe");
    ASSERT_TRUE(program.Started()) << program.StartError();
    ASSERT_NE(nullptr, program.WaitCaptures(1, 3000)) << program.Summary();
    ASSERT_EQ("", WaitScreenShows(Pattern::First, 1000, "capture"));
    pattern_->Show(Pattern::Second);

    Drag(POINT{396, 296}, POINT{700, 500}, 10);
    const Bar bar = BarFor(400, 300, 700, 500);
    std::string why;
    WaitFor([&] { return (why = ShowsBar(GrabScreen(), bar)).empty(); }, 2000, 40);
    EXPECT_EQ("", why) << "the tool bar from the unpacked skin is not shown";
    // The backdrop from the unpacked skin dims the screen outside the selection.
    EXPECT_NE("", ScreenVsPattern(GrabScreen(), Pattern::First, {{0, 0, ScreenWidth(), 200}}));
    ExpectDoubleClickCopiesSelection(program);
}

TEST_F(Scaled, ProcessIsPerMonitorAwareAndItsCaptureIsPhysicalPixels) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(144, dpi) << "the session is not set to 144 dpi";
    Program program;
    ASSERT_TRUE(program.Started()) << program.StartError();
    // The capture covers the physical screen, not the 96-dpi view of it.
    HWND capture = program.WaitCaptures(1, 3000);
    ASSERT_NE(nullptr, capture) << program.Summary();

    using GetWindowContextFn = HANDLE(WINAPI*)(HWND);
    using GetAwarenessFn = int(WINAPI*)(HANDLE);
    HMODULE user32 = GetModuleHandleA("user32.dll");
    auto windowContext = reinterpret_cast<GetWindowContextFn>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetWindowDpiAwarenessContext")));
    auto awareness = reinterpret_cast<GetAwarenessFn>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
    ASSERT_TRUE(windowContext && awareness);
    EXPECT_EQ(2 /* DPI_AWARENESS_PER_MONITOR_AWARE */, awareness(windowContext(capture)));
    EXPECT_EQ(2, awareness(windowContext(program.Host())));
    auto dpiForWindow = reinterpret_cast<UINT(WINAPI*)(HWND)>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")));
    ASSERT_NE(nullptr, dpiForWindow);
    EXPECT_EQ(144u, dpiForWindow(capture));

    ASSERT_EQ("", WaitScreenShows(Pattern::First, 1000, "capture"));
    pattern_->Show(Pattern::Second);
    EXPECT_EQ("", ScreenKeepsShowing(Pattern::First, 200, "frozen"));
    Drag(POINT{396, 296}, POINT{700, 500}, 10);
    Idle(200);
    ExpectDoubleClickCopiesSelection(program);
}
