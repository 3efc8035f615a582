// The program's place on the desktop beyond its hotkeys: the callbacks of its
// notification-area icon (a left press starts it again, a right release shows
// its menu) and the hand-over to the desk-band component.
#include <windows.h>

#include "tests/e2e/Driver.h"

using namespace e2e;

namespace {

constexpr UINT kTrayNotify = 3034;
constexpr WPARAM kIcon = 10001;

bool SamePath(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

class Tray : public Fixture {
protected:
    // Starts `exe` idle, asks it for a relaunch through the icon and checks
    // that a second process of `exe` itself captures while the first stays idle.
    void ExpectRelaunchOf(const std::string& exe) {
        Program first("nostart", exe);
        ASSERT_TRUE(first.Started()) << first.StartError();
        ASSERT_NE(first.WaitHost(3000), nullptr) << first.Summary();
        ASSERT_TRUE(first.PostToHost(kTrayNotify, kIcon, WM_LBUTTONDOWN));
        std::vector<DWORD> pids;
        ASSERT_TRUE(WaitFor([&] { return !(pids = CapturingProcesses()).empty(); }, 4000))
            << "no process captures after the left press; " << first.Summary();
        ASSERT_EQ(pids.size(), 1u);
        ASSERT_NE(pids.front(), first.Pid()) << "the first process captured itself";
        std::unique_ptr<Program> second = Program::Attach(pids.front());
        ASSERT_NE(second, nullptr);
        EXPECT_TRUE(SamePath(second->ImagePath(), exe)) << "started " << second->ImagePath() << ", not " << exe;
        EXPECT_EQ(WaitScreenShows(Pattern::First, 2000, "relaunched-capture"), "");
        EXPECT_TRUE(first.Running());
        EXPECT_TRUE(first.CaptureWindows().empty());

        // The second run ends like any capture; the first is still there to ask.
        Key(VK_ESCAPE);
        EXPECT_TRUE(second->WaitExit(3000));
        ASSERT_TRUE(first.Running());
        ASSERT_TRUE(first.PostToHost(3025));
        EXPECT_TRUE(first.WaitExit(3000));
    }

    // The popup menu of the process: its window, once shown.
    static HWND WaitMenu(const Program& program, int timeoutMs) {
        HWND menu = nullptr;
        WaitFor(
            [&] {
                menu = nullptr;
                for (HWND w : program.Windows()) {
                    char cls[32] = {};
                    GetClassNameA(w, cls, sizeof cls);
                    if (lstrcmpA(cls, "#32768") == 0 && IsWindowVisible(w)) menu = w;
                }
                return menu != nullptr;
            },
            timeoutMs);
        return menu;
    }
};

class DeskBand : public Fixture {};

}  // namespace

TEST_F(Tray, LeftPressStartsTheProgramAgainWhichCapturesAtOnce) { ExpectRelaunchOf(SnapcrestExe()); }

TEST_F(Tray, RelaunchFromAFolderWithABlankStartsThatProgram) {
    // Unquoted, "...\snap crest\snapcrest.exe" would run "...\snap.exe" first.
    TempFolder folder;
    const std::string blank = folder / "snap crest";
    ASSERT_TRUE(CreateDirectoryA(blank.c_str(), nullptr));
    const std::string exe = CopyProgramTo(blank);
    ASSERT_FALSE(exe.empty());
    ASSERT_TRUE(CopyFileA(exe.c_str(), (folder / "snap.exe").c_str(), FALSE));
    ExpectRelaunchOf(exe);
}

TEST_F(Tray, RightReleaseShowsTheMenuAtThePointerOtherCallbacksNothing) {
    Program program("nostart");
    ASSERT_TRUE(program.Started()) << program.StartError();
    HWND host = program.WaitHost(3000);
    ASSERT_NE(host, nullptr);
    const LONG_PTR exStyle = ExStyle(host);
    for (WPARAM icon : {kIcon + 1, kIcon})
        for (LPARAM mouse : {WM_LBUTTONUP, WM_RBUTTONDOWN, icon == kIcon ? WM_MOUSEMOVE : WM_RBUTTONUP})
            ASSERT_TRUE(program.PostToHost(kTrayNotify, icon, mouse));
    ASSERT_TRUE(program.PostToHost(kTrayNotify, kIcon + 1, WM_LBUTTONDOWN));
    EXPECT_FALSE(WaitFor([&] { return !CapturingProcesses().empty() || WaitMenu(program, 0); }, 1000))
        << "another icon or mouse message was answered";

    // The first item changes nothing.
    ASSERT_TRUE(MoveTo(600, 400));
    ASSERT_TRUE(program.PostToHost(kTrayNotify, kIcon, WM_RBUTTONUP));
    HWND menu = WaitMenu(program, 2000);
    ASSERT_NE(menu, nullptr) << program.Summary();
    const RECT at = WindowRect(menu);
    EXPECT_EQ(at.left, 600);
    EXPECT_EQ(at.top, 400);
    Key(VK_DOWN);
    Key(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(menu); }, 2000)) << "the menu stayed open";
    Idle(300);
    EXPECT_TRUE(program.Running());
    EXPECT_TRUE(program.VisibleWindows().empty()) << program.Summary();
    EXPECT_EQ(ExStyle(host), exStyle) << "the host's taskbar style changed";

    // The last one ends the program.
    ASSERT_TRUE(MoveTo(300, 200));
    ASSERT_TRUE(program.PostToHost(kTrayNotify, kIcon, WM_RBUTTONUP));
    menu = WaitMenu(program, 2000);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(WindowRect(menu).left, 300);
    EXPECT_EQ(WindowRect(menu).top, 200);
    Key(VK_UP);
    Key(VK_RETURN);
    EXPECT_TRUE(program.WaitExit(3000)) << "still running after the exit item";
    EXPECT_EQ(program.ExitCode(), 0u);
}

TEST_F(DeskBand, HandsOverThroughRundll32AndEnds) {
    TempFolder folder;
    const std::string exe = CopyProgramTo(folder.Path());
    ASSERT_FALSE(exe.empty());
    const std::string library = folder / "Trellow.dll";
    ASSERT_TRUE(CopyFileA((DriverFolder() + "\\Trellow.dll").c_str(), library.c_str(), FALSE));

    Program program("nostart", exe);
    ASSERT_TRUE(program.Started()) << program.StartError();
    ASSERT_TRUE(program.WaitExit(5000)) << program.Summary();
    EXPECT_EQ(Hex(program.ExitCode()), Hex(0));
    std::string started;
    EXPECT_TRUE(WaitFor([&] { return !(started = ReadFileBytes(folder / "deskband-started.txt")).empty(); }, 5000))
        << "the library's entry point did not run";
    EXPECT_EQ(started, "rundll32.exe \"" + library + "\",ShowDeskband");
    EXPECT_TRUE(CapturingProcesses().empty());
    // Let rundll32 let go of the library before the folder goes.
    Idle(500);
}

TEST_F(DeskBand, TooLongACommandLineIsNotRunCutShort) {
    TempFolder folder;
    // The command line is the folder's path plus 40 bytes: 265 here, past
    // the launcher's 260, while the program's own path still fits.
    std::string deep = folder.Path() + "\\";
    deep += std::string(225 - deep.size(), 'd');
    ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr)) << deep;
    const std::string exe = CopyProgramTo(deep);
    ASSERT_FALSE(exe.empty());
    ASSERT_TRUE(CopyFileA((DriverFolder() + "\\Trellow.dll").c_str(), (deep + "\\Trellow.dll").c_str(), FALSE));

    Program program("nostart", exe);
    ASSERT_TRUE(program.Started()) << program.StartError();
    ASSERT_NE(program.WaitHost(3000), nullptr);
    EXPECT_FALSE(program.WaitExit(1500)) << "the program handed over anyway";
    EXPECT_EQ(ReadFileBytes(deep + "\\deskband-started.txt"), "");
    // Idle with its hotkeys, as without the library.
    Key('A', Ctrl | Shift);
    EXPECT_NE(program.WaitCaptures(1, 3000), nullptr) << program.Summary();
    Key(VK_ESCAPE);
    EXPECT_TRUE(program.WaitExit(3000));
}
