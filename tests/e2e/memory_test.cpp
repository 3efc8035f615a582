// Memory: a hundred captures in one waiting process leave its memory and the
// objects it holds flat, and a capture short of a screen-sized surface ends
// and gives the user's screen back (or, for the dimmed copy, goes on).
#include "tests/e2e/ToolBarDriver.h"

#include <psapi.h>

#include <cstdio>
#include <fstream>

using namespace e2e;

namespace {

constexpr UINT kReopen = 2024, kCapture = 3024, kQuit = 3025;

// An environment variable of the driver for the programs it starts meanwhile.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
        SetEnvironmentVariableA(name, value.c_str());
    }
    ~ScopedEnvironment() { SetEnvironmentVariableA(name_, nullptr); }

private:
    const char* name_;
};

struct Sample {
    SIZE_T workingSet = 0, pagefile = 0;
    size_t windows = 0;
};

Sample Measure(Program& program) {
    Sample s;
    PROCESS_MEMORY_COUNTERS pm{};
    pm.cb = sizeof pm;
    if (GetProcessMemoryInfo(program.Handle(), &pm, sizeof pm)) {
        s.workingSet = pm.WorkingSetSize;
        s.pagefile = pm.PagefileUsage;
    }
    // USER objects the platform lets another process count: the windows.
    for (HWND w : program.Windows()) {
        ++s.windows;
        EnumChildWindows(w, [](HWND, LPARAM lp) -> BOOL { return ++*reinterpret_cast<size_t*>(lp), TRUE; },
                         reinterpret_cast<LPARAM>(&s.windows));
    }
    return s;
}

class Memory : public Fixture {
protected:
    // One capture by request, with a selection when asked, ended by the
    // cancel command (a second one when a selection exists), then 2024.
    void CaptureAndCancel(Program& program, bool select) {
        ASSERT_TRUE(program.PostToHost(kCapture));
        HWND capture = program.WaitCaptures(1, 3000);
        ASSERT_NE(nullptr, capture) << program.Summary();
        if (select) {
            Drag(POINT{500, 400}, POINT{900, 700}, 3);
            ASSERT_TRUE(PostMessageA(capture, WM_COMMAND, IDCANCEL, 0));
        }
        ASSERT_TRUE(PostMessageA(capture, WM_COMMAND, IDCANCEL, 0));
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(capture); }, 3000)) << program.Summary();
        ASSERT_TRUE(program.PostToHost(kReopen));
    }
};

}  // namespace

TEST_F(Memory, AHundredCapturesLeaveMemoryAndHandlesFlat) {
    TempFolder folder;
    const std::string log = folder / "handles.log";
    std::unique_ptr<Program> program;
    {
        ScopedEnvironment env("SNAPCREST_HANDLE_LOG", log);
        program = std::make_unique<Program>("nostart");
    }
    ASSERT_TRUE(program->Started()) << program->StartError();
    ASSERT_NE(nullptr, program->WaitHost(3000)) << program->Summary();

    // The first captures load what stays for the process's life (imaging,
    // fonts, the text services' libraries): measured from the tenth on.
    Sample before;
    for (int i = 1; i <= 100; ++i) {
        ASSERT_NO_FATAL_FAILURE(CaptureAndCancel(*program, i % 4 == 0)) << "capture " << i;
        if (i == 10) before = Measure(*program);
    }
    const Sample after = Measure(*program);
    // The 101st session reports, as it begins, what the 100th left behind.
    ASSERT_NO_FATAL_FAILURE(CaptureAndCancel(*program, false));
    ASSERT_TRUE(program->PostToHost(kQuit));
    ASSERT_TRUE(program->WaitExit(3000));
    EXPECT_EQ(0u, program->ExitCode());

    std::ifstream in(log);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    ASSERT_EQ(101u, lines.size()) << "one report per session";
    // Line k is written as session k+1 begins, after session k ended.
    EXPECT_EQ(lines[10], lines[100]) << "after capture 10 vs after capture 100";
    std::printf("leak: after 10 captures %s, %zu windows, working set %zu KB, private %zu KB\n", lines[10].c_str(),
                before.windows, before.workingSet / 1024, before.pagefile / 1024);
    std::printf("leak: after 100 captures %s, %zu windows, working set %zu KB, private %zu KB\n", lines[100].c_str(),
                after.windows, after.workingSet / 1024, after.pagefile / 1024);

    ASSERT_GT(before.workingSet, 0u) << "no memory counts for the program";
    EXPECT_EQ(before.windows, after.windows);
    // Each capture makes six screen-sized surfaces of 8 MB: keeping even a
    // small share of one per capture would pass these bounds within 90.
    constexpr SIZE_T kSlack = 24u << 20;
    EXPECT_LT(after.workingSet, before.workingSet + kSlack);
    EXPECT_LT(after.pagefile, before.pagefile + kSlack);
}

TEST_F(Memory, ACaptureShortOfAScreenSurfaceEndsAndTheScreenIsLive) {
    // The session's screen-sized allocations in order: the snapshot (before
    // the window shows), the dimmed copy (in the background), the work
    // surface (at the first selection), the shape surfaces (at the first mark).
    struct Case {
        const char* refused;
        bool survives;  // a dimmed copy is only a speed-up
        std::function<void()> user;
    };
    const Case cases[] = {
        {"1", false, [] {}},
        {"2", true, [] { Drag(POINT{396, 296}, POINT{700, 500}, 10); }},
        {"3", false, [] { Drag(POINT{396, 296}, POINT{700, 500}, 10); }},
        {"4", false, [] {
             Drag(POINT{396, 296}, POINT{700, 500}, 10);
             const Bar bar = BarFor(400, 300, 700, 500);
             WaitFor([&] { return ShowsBar(GrabScreen(), bar).empty(); }, 2000, 40);
             ClickButton(bar, kRect);
             Drag(POINT{450, 350}, POINT{600, 450}, 5);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("refused allocation ") + c.refused);
        pattern_->Show(Pattern::First);
        std::unique_ptr<Program> program;
        {
            ScopedEnvironment env("SNAPCREST_FAIL_SURFACE", c.refused);
            program = std::make_unique<Program>("nostart");
        }
        ASSERT_TRUE(program->Started()) << program->StartError();
        ASSERT_NE(nullptr, program->WaitHost(3000)) << program->Summary();
        ASSERT_TRUE(program->PostToHost(kCapture));
        if (c.refused != std::string("1")) {
            ASSERT_NE(nullptr, program->WaitCaptures(1, 3000)) << program->Summary();
        }
        Idle(300);
        c.user();
        Idle(300);
        ASSERT_TRUE(program->Running()) << program->Summary();
        if (c.survives) {
            ExpectDoubleClickCopiesSelection(*program);
            continue;
        }
        // The window went: the live screen is the user's again.
        EXPECT_TRUE(program->VisibleWindows().empty()) << program->Summary();
        pattern_->Show(Pattern::Second);
        EXPECT_EQ("", ScreenKeepsShowing(Pattern::Second, 300, std::string("refused-") + c.refused));
        // The next request has its surfaces and captures the screen as it is.
        ASSERT_TRUE(program->PostToHost(kReopen));
        ASSERT_TRUE(program->PostToHost(kCapture));
        EXPECT_NE(nullptr, program->WaitCaptures(1, 3000)) << program->Summary();
        EXPECT_EQ("", WaitScreenShows(Pattern::Second, 1000, std::string("next-") + c.refused));
        pattern_->Show(Pattern::First);
        Drag(POINT{396, 296}, POINT{700, 500}, 10);
        ExpectDoubleClickCopiesSelection(*program, Pattern::Second);
    }
}
