// Benchmarks of the capture program under Wine (figures, not pass/fail):
//   snapbench startup N   N launches: process start to the frozen picture on
//                         the screen, and the program's own start-up to first paint
//   snapbench drag        300-step drags (first selection, then a move): per
//                         composition and per paint, and CPU time per mouse move
// The program's own timings come through SNAPCREST_STARTUP_LOG and
// SNAPCREST_PAINT_LOG, which this tool's caller sets.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/e2e/Driver.h"

using namespace e2e;

namespace {

double NowMs() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

struct Summary {
    double median = 0, p95 = 0, min = 0, max = 0;
    size_t count = 0;
};

Summary Summarise(std::vector<double> v) {
    Summary s;
    if (v.empty()) return s;
    std::sort(v.begin(), v.end());
    s.count = v.size();
    s.min = v.front();
    s.max = v.back();
    s.median = v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
    s.p95 = v[std::min(v.size() - 1, static_cast<size_t>(0.95 * static_cast<double>(v.size())))];
    return s;
}

void Print(const char* what, const Summary& s) {
    std::printf("%-34s n=%-4zu median %8.2f ms   p95 %8.2f   min %8.2f   max %8.2f\n", what, s.count, s.median, s.p95,
                s.min, s.max);
}

std::vector<std::vector<double>> ReadColumns(const char* path) {
    std::vector<std::vector<double>> columns;
    FILE* f = path ? std::fopen(path, "r") : nullptr;
    if (!f) return columns;
    char line[256];
    while (std::fgets(line, sizeof line, f)) {
        char* p = line;
        for (size_t c = 0;; ++c) {
            char* end = nullptr;
            double v = std::strtod(p, &end);
            if (end == p) break;
            if (columns.size() <= c) columns.resize(c + 1);
            columns[c].push_back(v);
            p = end;
        }
    }
    std::fclose(f);
    return columns;
}

double CpuMs(HANDLE process) {
    FILETIME c, e, k, u;
    GetProcessTimes(process, &c, &e, &k, &u);
    auto ticks = [](const FILETIME& f) { return (static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime; };
    return static_cast<double>(ticks(k) + ticks(u)) / 10000.0;
}

size_t PrivateBytes(HANDLE process) {
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(process, &pmc, sizeof pmc);
    return pmc.PagefileUsage;
}

int Startup(int runs) {
    const char* ownLog = std::getenv("SNAPCREST_STARTUP_LOG");
    if (ownLog) DeleteFileA(ownLog);
    PatternWindow window;
    std::vector<double> total, own;
    const int cx = ScreenWidth() / 2 - 32, cy = ScreenHeight() / 2 - 32;
    const Pixels first = PatternPixels(Pattern::First, ScreenWidth(), ScreenHeight());
    auto showsFirst = [&] {
        Pixels probe = GrabScreenRect(cx, cy, 64, 64);
        if (probe.empty()) return false;
        for (int y = 0; y < 64; y += 7)
            for (int x = 0; x < 64; x += 5)
                if (probe.at(x, y) != first.at(cx + x, cy + y)) return false;
        return true;
    };
    for (int i = 0; i < runs; ++i) {
        window.Show(Pattern::First);
        window.Raise();
        if (!WaitFor(showsFirst, 3000, 5)) {
            std::fprintf(stderr, "pattern not on the screen\n");
            return 1;
        }
        const double t0 = NowMs();
        Program program("");
        if (!program.Started()) {
            std::fprintf(stderr, "cannot start: %s\n", program.StartError().c_str());
            return 1;
        }
        if (!WaitFor([&] { return !program.CaptureWindows().empty(); }, 10000, 1)) {
            std::fprintf(stderr, "no capture window\n");
            return 1;
        }
        // The snapshot is taken before the window exists; from now on only
        // the capture window's own picture can show the first pattern.
        window.Show(Pattern::Second);
        if (!WaitFor(showsFirst, 10000, 1)) {
            std::fprintf(stderr, "frozen picture not shown\n");
            return 1;
        }
        total.push_back(NowMs() - t0);
        program.PostToHost(3025);
        program.WaitExit(5000);
    }
    Print("start to frozen picture on screen", Summarise(total));
    auto columns = ReadColumns(ownLog);
    if (!columns.empty()) Print("program start-up to first paint", Summarise(columns[0]));
    return 0;
}

int DragOnce(bool move, const char* label) {
    const char* log = std::getenv("SNAPCREST_PAINT_LOG");
    if (log) DeleteFileA(log);
    PatternWindow window;
    Program program("");
    if (!program.Started() || !program.WaitCaptures(1, 10000)) {
        std::fprintf(stderr, "no capture window\n");
        return 1;
    }
    Idle(300);
    const int W = ScreenWidth(), H = ScreenHeight();
    const int steps = 300;
    POINT from{W / 8, H / 8};
    double cpuBefore = 0;
    size_t memBefore = 0;
    if (move) {
        // A selection to move, then a press on its inside.
        Drag(from, POINT{W / 2, H / 2}, 10);
        Idle(300);
        from = POINT{W / 4, H / 4};
    }
    MoveTo(from.x, from.y);
    Idle(100);
    memBefore = PrivateBytes(program.Handle());
    cpuBefore = CpuMs(program.Handle());
    const double t0 = NowMs();
    LeftDown();
    for (int i = 1; i <= steps; ++i) {
        MoveTo(from.x + i * (W / 2) / steps, from.y + i * (H / 2) / steps);
        Idle(16);
    }
    LeftUp();
    const double wall = NowMs() - t0;
    Idle(300);
    const double cpu = CpuMs(program.Handle()) - cpuBefore;
    const size_t memAfter = PrivateBytes(program.Handle());
    program.PostToHost(3025);
    program.WaitExit(10000);

    std::printf("%s at %dx%d: %d moves in %.0f ms; CPU per move %.2f ms; private bytes %+.1f MB during the drag\n",
                label, W, H, steps, wall, cpu / steps,
                (static_cast<double>(memAfter) - static_cast<double>(memBefore)) / (1024.0 * 1024.0));
    auto columns = ReadColumns(log);
    if (columns.size() >= 2) {
        // Only the compositions of the measured drag: the last ones logged.
        Print("  composition", Summarise(columns[0]));
        Print("  paint handler", Summarise(columns[1]));
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "startup") return Startup(argc > 2 ? std::atoi(argv[2]) : 10);
    if (mode == "drag") {
        int rc = DragOnce(false, "first selection");
        if (rc == 0) rc = DragOnce(true, "move");
        return rc;
    }
    std::fprintf(stderr, "usage: snapbench startup N | drag\n");
    return 2;
}
