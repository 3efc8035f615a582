// A seeded soak: random user input against the real program, reproducible
// from its seed. Moves, presses, releases, drags, double and right clicks,
// arrows with and without Shift, letters, Enter, Ctrl+Z, Escape and tool-bar
// clicks; every dialog the program opens is answered at once, and a fresh
// process starts whenever one ends. Every process must end with exit code 0
// or still answer within 5 s. The normal run is 3 seeds x 300 events;
// scripts/bench-soak.sh sets SNAPCREST_SOAK_SEEDS / SNAPCREST_SOAK_EVENTS.
#include "tests/e2e/ToolBarDriver.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>

using namespace e2e;

namespace {

int EnvInt(const char* name, int fallback) {
    const char* v = std::getenv(name);
    return v && std::atoi(v) > 0 ? std::atoi(v) : fallback;
}

// Raw input without the driver's per-event settling, so that events also
// arrive while the program is still busy with earlier ones.
void Send(INPUT in) {
    SendInput(1, &in, sizeof in);
    Idle(4);
}
void MoveRaw(int x, int y) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = x * 65536 / ScreenWidth() + 1;
    in.mi.dy = y * 65536 / ScreenHeight() + 1;
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    Send(in);
}
void KeyRaw(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    const bool arrow = vk >= VK_LEFT && vk <= VK_DOWN;
    in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (arrow ? KEYEVENTF_EXTENDEDKEY : 0);
    Send(in);
}
// A key, with Shift or Ctrl (or nothing: 0) held around it.
void Press(WORD vk, WORD modifier = 0) {
    if (modifier) KeyRaw(modifier, false);
    KeyRaw(vk, false);
    KeyRaw(vk, true);
    if (modifier) KeyRaw(modifier, true);
}
void Mouse(DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    Send(in);
}

class Soak : public Fixture {
protected:
    // Answers whatever dialog the program shows: the save dialog with a file
    // in the temp folder (or cancel), the colour chooser with a colour (or
    // cancel), any other box with its default. True when there was one.
    bool AnswerDialogs(Program& program, std::mt19937& rng) {
        bool any = false;
        const std::vector<HWND> captures = program.CaptureWindows();
        for (HWND w : program.VisibleWindows()) {
            char cls[32] = {};
            GetClassNameA(w, cls, sizeof cls);
            // The capture window is a dialog too.
            if (std::string(cls) != "#32770" || std::find(captures.begin(), captures.end(), w) != captures.end())
                continue;
            any = true;
            ++dialogs_;
            const bool accept = rng() % 3 != 0;
            if (HWND name = FileNameBox(w); name && accept) {
                const std::string path = folder_ / ("soak" + std::to_string(rng() % 1000));
                SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
            } else if (GetDlgItem(w, 706) && accept) {
                for (int id = 706; id <= 708; ++id)
                    SendMessageA(GetDlgItem(w, id), WM_SETTEXT, 0,
                                 reinterpret_cast<LPARAM>(std::to_string(rng() % 256).c_str()));
            }
            PostMessageA(w, WM_COMMAND, accept ? IDOK : IDCANCEL, 0);
            WaitFor([&] { return !IsWindow(w) || !IsWindowVisible(w); }, 3000);
        }
        return any;
    }

    // Still answering within 5 s, or on its way out (its exit code is checked
    // by the caller).
    static bool AnswersOrEnds(Program& program) {
        HWND host = program.Host();
        DWORD_PTR result = 0;
        if (host && SendMessageTimeoutA(host, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result)) return true;
        return program.WaitExit(5000);
    }

    std::unique_ptr<Program> Launch() {
        ++launches_;
        auto program = std::make_unique<Program>();
        EXPECT_TRUE(program->Started()) << program->StartError();
        EXPECT_NE(nullptr, program->WaitCaptures(1, 5000)) << "launch " << launches_ << ": " << program->Summary();
        return program;
    }

    // One random event; `from`/`to` remember the process's first drag, which
    // made the selection and so placed the tool bar (while nothing moved it).
    void RandomEvent(std::mt19937& rng, POINT& from, POINT& to, bool& selected) {
        const int W = ScreenWidth(), H = ScreenHeight();
        auto point = [&] { return POINT{static_cast<LONG>(rng() % W), static_cast<LONG>(rng() % H)}; };
        const unsigned r = rng() % 100;

        if (r < 28) {
            const POINT p = point();
            MoveRaw(p.x, p.y);
        } else if (r < 34) {
            Button(rng() % 2 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
        } else if (r < 48) {
            const POINT a = point();
            const POINT b{std::min<LONG>(W - 1, a.x + 20 + rng() % 500), std::min<LONG>(H - 1, a.y + 20 + rng() % 400)};
            MoveRaw(a.x, a.y);
            Mouse(MOUSEEVENTF_LEFTDOWN);
            for (int i = 1; i <= 3; ++i) MoveRaw(a.x + (b.x - a.x) * i / 3, a.y + (b.y - a.y) * i / 3);
            Mouse(MOUSEEVENTF_LEFTUP);
            if (!selected) from = a, to = b, selected = true;
        } else if (r < 50) {
            const POINT p = point();
            MoveRaw(p.x, p.y);
            for (int i = 0; i < 2; ++i) {
                Mouse(MOUSEEVENTF_LEFTDOWN);
                Mouse(MOUSEEVENTF_LEFTUP);
            }
        } else if (r < 51) {
            const POINT p = point();
            MoveRaw(p.x, p.y);
            Mouse(MOUSEEVENTF_RIGHTDOWN);
            Mouse(MOUSEEVENTF_RIGHTUP);
        } else if (r < 65) {
            static const WORD arrows[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN};
            Press(arrows[rng() % 4], rng() % 2 ? VK_SHIFT : 0);
        } else if (r < 81) {
            Press(static_cast<WORD>('A' + rng() % 26), rng() % 4 == 0 ? VK_SHIFT : 0);
        } else if (r < 84) {
            Press(VK_RETURN);
        } else if (r < 86) {
            Press('Z', VK_CONTROL);
        } else if (r < 87) {
            Press(VK_ESCAPE);
        } else {
            // A tool-bar button (or the panel's) for the last drag's selection.
            const Bar bar = BarFor(from.x + 4, from.y + 4, to.x, to.y);
            const POINT c = bar.Centre(static_cast<e2e::Button>(rng() % 13));
            MoveRaw(c.x, c.y);
            Mouse(MOUSEEVENTF_LEFTDOWN);
            Mouse(MOUSEEVENTF_LEFTUP);
        }
    }

    void RunSeed(uint32_t seed, int events) {
        std::mt19937 rng(seed);
        POINT from{400, 300}, to{800, 600};
        bool selected = false;
        std::unique_ptr<Program> program = Launch();
        for (int e = 0; e < events && !HasFatalFailure(); ++e) {
            RandomEvent(rng, from, to, selected);
            ++events_;
            AnswerDialogs(*program, rng);
            if (program->Running()) {
                if (e % 50 != 49) continue;
                ASSERT_TRUE(AnswersOrEnds(*program)) << "seed " << seed << " event " << e << " hangs\n"
                                                     << program->Summary();
                if (program->Running()) continue;
            }
            ASSERT_EQ(Hex(0), Hex(program->ExitCode())) << "seed " << seed << " event " << e;
            Mouse(MOUSEEVENTF_LEFTUP);
            program = Launch();
            selected = false;
        }
        Mouse(MOUSEEVENTF_LEFTUP);
        while (AnswerDialogs(*program, rng)) {}
        ASSERT_TRUE(AnswersOrEnds(*program)) << "seed " << seed << " hangs at the end\n" << program->Summary();
        if (program->Running()) {
            ASSERT_TRUE(program->PostToHost(3025));
            ASSERT_TRUE(program->WaitExit(5000)) << program->Summary();
        }
        EXPECT_EQ(Hex(0), Hex(program->ExitCode())) << "seed " << seed;
    }

    TempFolder folder_;
    int launches_ = 0, events_ = 0, dialogs_ = 0;
};

}  // namespace

TEST_F(Soak, SeededRandomInputEndsCleanlyOrKeepsAnswering) {
    const int seeds = EnvInt("SNAPCREST_SOAK_SEEDS", 3), events = EnvInt("SNAPCREST_SOAK_EVENTS", 300);
    const int first = EnvInt("SNAPCREST_SOAK_FIRST_SEED", 1);
    const DWORD start = GetTickCount();
    for (int s = first; s < first + seeds && !HasFatalFailure(); ++s) RunSeed(static_cast<uint32_t>(s), events);
    std::printf("soak: %d seeds from %d x %d events: %d events, %d launches, %d dialogs answered, %.1f s\n", seeds,
                first, events, events_, launches_, dialogs_, (GetTickCount() - start) / 1000.0);
}
