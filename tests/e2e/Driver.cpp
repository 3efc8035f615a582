#include "tests/e2e/Driver.h"

#include "platform/DibInfo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace e2e {

namespace {

// The host's title; the driver is built with a code page 936 execution
// character set, so these are the bytes GetWindowTextA returns.
const char kHostTitle[] = "岚梭截屏";

// Pause after every injected input event so the program handles one before
// the next arrives (its handler may repaint, capture the mouse, etc.).
constexpr int kInputPauseMs = 15;

DWORD ElapsedSince(DWORD start) { return GetTickCount() - start; }

std::wstring Widen(const std::string& s) {
    if (s.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), &w[0], n);
    return w;
}

std::string Narrow(const std::wstring& w) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), &s[0], n, nullptr, nullptr);
    return s;
}

void MakeDirectories(const std::wstring& path) {
    for (size_t i = 3; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == L'\\') CreateDirectoryW(path.substr(0, i).c_str(), nullptr);
    }
}

std::string CurrentTestName() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    if (!info) return "driver";
    return std::string(info->test_suite_name()) + "." + info->name();
}

// A hidden window of the driver that owns what the driver puts on the clipboard.
HWND ClipboardOwner() {
    static HWND owner = nullptr;
    if (!owner) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "SnapcrestE2EClipboardOwner";
        RegisterClassA(&wc);
        owner = CreateWindowExA(0, wc.lpszClassName, "e2e clipboard", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                wc.hInstance, nullptr);
    }
    return owner;
}

// The clipboard may be held by another process for a moment.
bool OpenClipboardPatiently() {
    return WaitFor([] { return OpenClipboard(ClipboardOwner()) != FALSE; }, 1000, 10);
}

void SendOne(INPUT in) {
    SendInput(1, &in, sizeof(INPUT));
    Idle(kInputPauseMs);
}

// Where the last move aimed the pointer, once there was one.
bool g_hasPointerTarget = false;
POINT g_pointerTarget{};

void MouseButton(DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendOne(in);
}

bool IsExtendedKey(WORD vk) {
    switch (vk) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
    case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
    case VK_INSERT: case VK_DELETE: case VK_RCONTROL: case VK_RMENU:
    case VK_DIVIDE: case VK_LWIN: case VK_RWIN: case VK_APPS:
        return true;
    default:
        return false;
    }
}

void KeyEvent(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (IsExtendedKey(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
    SendOne(in);
}

// Compares the screen with the pattern inside one area; counts differences
// and describes the first.
void CompareArea(const Pixels& screen, Pattern pattern, const Area& a, long& count, std::string& first) {
    int right = std::min(a.right, screen.width), bottom = std::min(a.bottom, screen.height);
    for (int y = std::max(a.top, 0); y < bottom; ++y) {
        const uint32_t* row = &screen.data[static_cast<size_t>(y) * screen.width];
        for (int x = std::max(a.left, 0); x < right; ++x) {
            uint32_t want = PatternColour(pattern, x, y);
            if (row[x] != want) {
                if (count == 0) {
                    char text[160];
                    std::snprintf(text, sizeof text, "screen differs from the %s pattern at (%d, %d): %06X, want %06X",
                                  pattern == Pattern::First ? "first" : "second", x, y,
                                  static_cast<unsigned>(row[x]), static_cast<unsigned>(want));
                    first = text;
                }
                ++count;
            }
        }
    }
}

// The screen grab plus a picture of where it differs from the pattern (red)
// and where it agrees (a dark copy of the pattern), saved as artifacts.
std::string SaveFailure(const Pixels& screen, Pattern pattern, const std::string& name) {
    std::wstring shot = SaveArtifact(screen, name + "-screen");
    Pixels diff = screen;
    for (int y = 0; y < diff.height; ++y)
        for (int x = 0; x < diff.width; ++x) {
            uint32_t& px = diff.data[static_cast<size_t>(y) * diff.width + x];
            px = px == PatternColour(pattern, x, y) ? (px >> 2) & 0x3F3F3F : 0xFF0000;
        }
    SaveArtifact(diff, name + "-diff");
    return shot.empty() ? std::string(" (screen not saved)") : " (screen saved as " + Narrow(shot) + ")";
}

std::vector<Area> WholeScreenIfEmpty(const std::vector<Area>& areas) {
    if (!areas.empty()) return areas;
    return {Area{0, 0, ScreenWidth(), ScreenHeight()}};
}

}  // namespace

// ---------------------------------------------------------------- waiting

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void Idle(int ms) {
    DWORD start = GetTickCount();
    for (;;) {
        Pump();
        DWORD elapsed = ElapsedSince(start);
        if (elapsed >= static_cast<DWORD>(ms)) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
    }
}

bool WaitFor(const std::function<bool()>& condition, int timeoutMs, int stepMs) {
    DWORD start = GetTickCount();
    for (;;) {
        Pump();
        if (condition()) return true;
        DWORD elapsed = ElapsedSince(start);
        if (elapsed >= static_cast<DWORD>(timeoutMs)) return false;
        Idle(std::min<int>(stepMs, timeoutMs - static_cast<int>(elapsed)));
    }
}

// ---------------------------------------------------------------- the test pattern

uint32_t PatternColour(Pattern pattern, int x, int y) {
    uint32_t r = static_cast<uint32_t>(x) & 0xFF;
    uint32_t g = static_cast<uint32_t>(y) & 0xFF;
    uint32_t b = ((static_cast<uint32_t>(x) >> 8) & 7) << 5 | ((static_cast<uint32_t>(y) >> 8) & 7) << 2;
    uint32_t c = r << 16 | g << 8 | b;
    return pattern == Pattern::First ? c : c ^ 0xFFFFFF;
}

Pixels PatternPixels(Pattern pattern, int w, int h) {
    Pixels p;
    p.width = w;
    p.height = h;
    p.data.resize(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p.data[static_cast<size_t>(y) * w + x] = PatternColour(pattern, x, y);
    return p;
}

PatternWindow::PatternWindow() {
    const int w = ScreenWidth(), h = ScreenHeight();
    for (int i = 0; i < 2; ++i) {
        BITMAPINFO bi = TopDownDib32(w, h);
        void* bits = nullptr;
        bitmaps_[i] = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!bitmaps_[i]) continue;
        uint32_t* px = static_cast<uint32_t*>(bits);
        Pattern pattern = i == 0 ? Pattern::First : Pattern::Second;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) px[static_cast<size_t>(y) * w + x] = PatternColour(pattern, x, y);
    }
    WNDCLASSA wc{};
    wc.lpfnWndProc = &PatternWindow::Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = "SnapcrestE2EPattern";
    RegisterClassA(&wc);  // fails harmlessly when already registered
    hwnd_ = CreateWindowExA(0, wc.lpszClassName, "e2e pattern", WS_POPUP, 0, 0, w, h, nullptr, nullptr,
                            wc.hInstance, this);
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    Raise();
}

PatternWindow::~PatternWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
    for (HBITMAP b : bitmaps_)
        if (b) DeleteObject(b);
    Pump();
}

void PatternWindow::Show(Pattern pattern) {
    current_ = pattern;
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateWindow(hwnd_);
    GdiFlush();
    Pump();
}

void PatternWindow::Raise() {
    SetWindowPos(hwnd_, HWND_TOP, 0, 0, ScreenWidth(), ScreenHeight(), SWP_SHOWWINDOW);
    SetForegroundWindow(hwnd_);
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateWindow(hwnd_);
    Pump();
}

LRESULT CALLBACK PatternWindow::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<PatternWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        HBITMAP bmp = self ? self->bitmaps_[self->current_ == Pattern::First ? 0 : 1] : nullptr;
        if (bmp) {
            HDC mem = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(mem, bmp);
            BitBlt(dc, 0, 0, ScreenWidth(), ScreenHeight(), mem, 0, 0, SRCCOPY);
            SelectObject(mem, old);
            DeleteDC(mem);
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_NCDESTROY:
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        break;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

// ---------------------------------------------------------------- the screen

int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

std::wstring ArtifactDir() {
    wchar_t buf[MAX_PATH * 2] = {};
    std::wstring dir;
    DWORD n = GetEnvironmentVariableW(L"SNAPCREST_ARTIFACTS", buf, MAX_PATH * 2);
    if (n > 0 && n < MAX_PATH * 2) {
        dir = buf;
        if (!dir.empty() && dir[0] == L'/') dir = L"Z:" + dir;  // a Unix path, seen through drive Z:
        std::replace(dir.begin(), dir.end(), L'/', L'\\');
    } else {
        GetTempPathW(MAX_PATH * 2, buf);
        dir = std::wstring(buf) + L"snapcrest-e2e";
    }
    while (dir.size() > 3 && dir.back() == L'\\') dir.pop_back();
    MakeDirectories(dir);
    return dir;
}

std::wstring SaveArtifact(const Pixels& p, const std::string& name) {
    std::wstring path = ArtifactDir() + L"\\" + Widen(CurrentTestName() + "-" + name) + L".png";
    return SavePng(p, path) ? path : std::wstring();
}

std::string ScreenVsPattern(const Pixels& screen, Pattern pattern, const std::vector<Area>& areas) {
    if (screen.empty()) return "screen grab failed";
    long count = 0;
    std::string first;
    for (const Area& a : WholeScreenIfEmpty(areas)) CompareArea(screen, pattern, a, count, first);
    if (count) first += " (" + std::to_string(count) + " pixels differ)";
    return first;
}

std::string WaitScreenShows(Pattern pattern, int timeoutMs, const std::string& name, const std::vector<Area>& areas) {
    Pixels last;
    std::string diff;
    bool ok = WaitFor(
        [&] {
            last = GrabScreen();
            diff = ScreenVsPattern(last, pattern, areas);
            return diff.empty();
        },
        timeoutMs);
    if (ok) return {};
    return diff + " after " + std::to_string(timeoutMs) + " ms" + SaveFailure(last, pattern, name);
}

std::string ScreenKeepsShowing(Pattern pattern, int ms, const std::string& name, const std::vector<Area>& areas) {
    DWORD start = GetTickCount();
    for (;;) {
        Pump();
        Pixels shot = GrabScreen();
        std::string diff = ScreenVsPattern(shot, pattern, areas);
        if (!diff.empty())
            return diff + " after " + std::to_string(ElapsedSince(start)) + " ms" + SaveFailure(shot, pattern, name);
        if (ElapsedSince(start) >= static_cast<DWORD>(ms)) return {};
        Idle(20);
    }
}

// ---------------------------------------------------------------- the program

std::string SnapcrestExe() {
    char buf[32768];
    DWORD n = GetEnvironmentVariableA("SNAPCREST_EXE", buf, sizeof buf);
    return n > 0 && n < sizeof buf ? std::string(buf, n) : std::string();
}

Program::Program(const std::string& args, const std::string& exe, const std::string& directory) {
    if (exe.empty()) {
        startError_ = "SNAPCREST_EXE is not set";
        return;
    }
    std::string line = "\"" + exe + "\"";
    if (!args.empty()) line += " " + args;
    std::vector<char> buf(line.begin(), line.end());
    buf.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    auto create = [&] {
        return CreateProcessA(exe.c_str(), buf.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              directory.empty() ? nullptr : directory.c_str(), &si, &pi) != FALSE;
    };
    bool created = create();
    // Under load Wine has been seen to fail a process's creation itself
    // (ERROR_INTERNAL_ERROR, once in about a thousand launches): one more
    // try, said in the test's output so that a pattern would show.
    if (!created && GetLastError() == ERROR_INTERNAL_ERROR) {
        std::fprintf(stderr, "note: CreateProcess of %s failed with error 1359; trying once more\n", exe.c_str());
        Sleep(200);
        created = create();
    }
    if (!created) {
        startError_ = "CreateProcess of " + exe + " failed, error " + std::to_string(GetLastError());
        return;
    }
    CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    pid_ = pi.dwProcessId;
    // The program's capture must be able to take the foreground from the driver.
    AllowSetForegroundWindow(pid_);
}

std::unique_ptr<Program> Program::Attach(DWORD pid) {
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return nullptr;
    std::unique_ptr<Program> program(new Program(Attached{}));
    program->process_ = process;
    program->pid_ = pid;
    AllowSetForegroundWindow(pid);
    return program;
}

std::string Program::ImagePath() const {
    char path[MAX_PATH * 4] = {};
    DWORD size = sizeof path;
    if (!process_ || !QueryFullProcessImageNameA(process_, 0, path, &size)) return {};
    return std::string(path, size);
}

std::vector<DWORD> CapturingProcesses() {
    std::vector<DWORD> pids;
    EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto* found = reinterpret_cast<std::vector<DWORD>*>(lp);
            DWORD pid = 0;
            GetWindowThreadProcessId(hwnd, &pid);
            const RECT r = WindowRect(hwnd);
            if (pid != GetCurrentProcessId() && IsWindowVisible(hwnd) && r.left == 0 && r.top == 0 &&
                r.right == ScreenWidth() && r.bottom == ScreenHeight())
                found->push_back(pid);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&pids));
    std::sort(pids.begin(), pids.end());
    pids.erase(std::unique(pids.begin(), pids.end()), pids.end());
    return pids;
}

Program::~Program() {
    Kill();
    if (process_) CloseHandle(process_);
}

bool Program::Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

bool Program::WaitExit(int timeoutMs) {
    if (!process_) return false;
    DWORD start = GetTickCount();
    for (;;) {
        Pump();
        DWORD elapsed = ElapsedSince(start);
        DWORD left = elapsed >= static_cast<DWORD>(timeoutMs) ? 0 : timeoutMs - elapsed;
        DWORD r = MsgWaitForMultipleObjects(1, &process_, FALSE, left, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0) return true;
        if (r == WAIT_TIMEOUT || r == WAIT_FAILED) return false;
    }
}

DWORD Program::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_) GetExitCodeProcess(process_, &code);
    return code;
}

void Program::Kill() {
    if (!Running()) return;
    TerminateProcess(process_, 0xDEAD);
    WaitExit(3000);
}

std::vector<HWND> Program::Windows() const {
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    } search{pid_, {}};
    if (!pid_) return {};
    EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            DWORD pid = 0;
            GetWindowThreadProcessId(hwnd, &pid);
            if (pid == s->pid) s->found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND Program::Host() const {
    for (HWND w : Windows())
        if (WindowTextA(w) == kHostTitle) return w;
    return nullptr;
}

HWND Program::WaitHost(int timeoutMs) {
    HWND host = nullptr;
    DWORD start = GetTickCount();
    // The window gets its title when it is created, before the program has
    // moved it and set its final styles.
    if (!WaitFor([&] { return (host = Host()) != nullptr; }, timeoutMs)) return nullptr;
    WaitInputIdle(std::max(0, timeoutMs - static_cast<int>(ElapsedSince(start))));
    return Host();
}

bool Program::WaitInputIdle(int timeoutMs) {
    if (!process_) return false;
    return WaitFor([&] { return WaitForInputIdle(process_, 0) == 0; }, timeoutMs, 10);
}

std::vector<HWND> Program::VisibleWindows() const {
    std::vector<HWND> out;
    for (HWND w : Windows())
        if (IsWindowVisible(w) && WindowTextA(w) != kHostTitle) out.push_back(w);
    return out;
}

std::vector<HWND> Program::CaptureWindows() const {
    std::vector<HWND> out;
    for (HWND w : VisibleWindows()) {
        RECT r = WindowRect(w);
        if (r.left == 0 && r.top == 0 && r.right == ScreenWidth() && r.bottom == ScreenHeight()) out.push_back(w);
    }
    return out;
}

HWND Program::WaitCaptures(size_t count, int timeoutMs) {
    std::vector<HWND> found;
    if (!WaitFor([&] { return (found = CaptureWindows()).size() == count; }, timeoutMs)) return nullptr;
    return found.empty() ? nullptr : found.front();
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The debugger's backtrace of every thread of the process `pid`: for a
// program that has stopped answering, where each thread waits.
static std::string ThreadStacks(DWORD pid) {
    char folder[MAX_PATH] = {}, file[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    if (!GetTempFileNameA(folder, "bt", 0, file)) return "(no temporary file)\n";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE output = CreateFileA(file, GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = output;
    PROCESS_INFORMATION pi{};
    char command[] = "winedbg.exe --command \"bt all\"";
    const bool ran = output != INVALID_HANDLE_VALUE &&
                     CreateProcessA(nullptr, command, nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi);
    if (ran) {
        if (WaitForSingleObject(pi.hProcess, 20000) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 1);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    if (output != INVALID_HANDLE_VALUE) CloseHandle(output);
    std::istringstream all(ReadFileBytes(file));
    DeleteFileA(file);
    if (!ran) return "(the debugger did not start)\n";
    // Its sections start "Backtracing for thread T in process P (path):",
    // with the ids as hexadecimal numbers of at least four digits.
    char process[32];
    std::snprintf(process, sizeof process, " in process %04lx ", static_cast<unsigned long>(pid));
    std::string out;
    bool keep = false;
    for (std::string line; std::getline(all, line);) {
        if (line.rfind("Backtracing for thread", 0) == 0) keep = line.find(process) != std::string::npos;
        if (line.find_first_not_of(" \r") == std::string::npos) keep = false;
        if (keep) out += "    " + line + "\n";
    }
    return out.empty() ? "(no backtrace for the process)\n" : out;
}

std::string Program::Summary() const {
    std::string out = "process exit code " + Hex(ExitCode());
    if (ExitCode() == STILL_ACTIVE) out += " (running)";
    for (HWND w : Windows()) {
        char cls[128] = {};
        GetClassNameA(w, cls, sizeof cls);
        out += "\n  window " + Hex(reinterpret_cast<uintptr_t>(w)) + " class " + cls +
               (WindowTextA(w) == kHostTitle ? " (host)" : "") + (IsWindowVisible(w) ? " visible" : " hidden") +
               " rect " + Describe(WindowRect(w)) + " style " + Hex(static_cast<uint32_t>(Style(w))) + " ex " +
               Hex(static_cast<uint32_t>(ExStyle(w)));
    }
    // Where the program's input goes: a window that holds the capture or the
    // activation elsewhere explains input that seems lost.
    const std::vector<HWND> windows = Windows();
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    if (!windows.empty() && GetGUIThreadInfo(GetWindowThreadProcessId(windows.front(), nullptr), &gui))
        out += "\n  input: active " + Hex(reinterpret_cast<uintptr_t>(gui.hwndActive)) + ", focus " +
               Hex(reinterpret_cast<uintptr_t>(gui.hwndFocus)) + ", capture " +
               Hex(reinterpret_cast<uintptr_t>(gui.hwndCapture)) + ", flags " + Hex(gui.flags) + "; foreground " +
               Hex(reinterpret_cast<uintptr_t>(GetForegroundWindow()));
    if (ExitCode() == STILL_ACTIVE && !stacksShown_) {
        stacksShown_ = true;
        out += "\n  threads:\n" + ThreadStacks(pid_);
    }
    // Tells an overlay not yet on the display (the second pattern) from one
    // that shows but did not react (the first, whole).
    const Pixels shot = GrabScreen();
    const std::string vsFirst = ScreenVsPattern(shot, Pattern::First);
    out += "\n  screen: " + (vsFirst.empty()                                  ? std::string("the first pattern")
                             : ScreenVsPattern(shot, Pattern::Second).empty() ? std::string("the second pattern")
                                                                               : "against the first pattern, " + vsFirst);
    return out;
}

bool Program::PostToHost(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND host = Host();
    return host && PostMessageA(host, message, wParam, lParam);
}

// ---------------------------------------------------------------- window facts

std::string WindowTextA(HWND hwnd) {
    char buf[512] = {};
    int n = GetWindowTextA(hwnd, buf, sizeof buf);
    return std::string(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

RECT WindowRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

LONG_PTR Style(HWND hwnd) { return GetWindowLongPtrA(hwnd, GWL_STYLE); }
LONG_PTR ExStyle(HWND hwnd) { return GetWindowLongPtrA(hwnd, GWL_EXSTYLE); }
bool IsTopmost(HWND hwnd) { return (ExStyle(hwnd) & WS_EX_TOPMOST) != 0; }

std::string Describe(const RECT& r) {
    char text[96];
    std::snprintf(text, sizeof text, "(%ld, %ld, %ld, %ld)", r.left, r.top, r.right, r.bottom);
    return text;
}

std::string Hex(uint64_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
    return text;
}

// ---------------------------------------------------------------- input as a user

bool MoveTo(int x, int y) {
    g_hasPointerTarget = true;
    g_pointerTarget = POINT{x, y};
    const int w = ScreenWidth(), h = ScreenHeight();
    // Absolute coordinates span the primary screen as 0..65535; start from the
    // smallest value that maps onto the pixel and correct by what GetCursorPos says.
    long nx = (static_cast<long>(x) * 65536 + w - 1) / w;
    long ny = (static_cast<long>(y) * 65536 + h - 1) / h;
    for (int attempt = 0; attempt < 6; ++attempt) {
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dx = std::min(std::max(nx, 0L), 65535L);
        in.mi.dy = std::min(std::max(ny, 0L), 65535L);
        in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        SendOne(in);
        POINT p{};
        GetCursorPos(&p);
        if (p.x == x && p.y == y) return true;
        // One pixel is 65536 / w units; step by at least one unit.
        long ex = x - p.x, ey = y - p.y;
        nx += ex == 0 ? 0 : (ex * 65536 / w != 0 ? ex * 65536 / w : (ex > 0 ? 1 : -1));
        ny += ey == 0 ? 0 : (ey * 65536 / h != 0 ? ey * 65536 / h : (ey > 0 ? 1 : -1));
    }
    return false;
}

bool MoveSmoothly(int x, int y, int steps) {
    POINT p{};
    GetCursorPos(&p);
    bool ok = true;
    for (int i = 1; i <= steps; ++i)
        ok = MoveTo(p.x + (x - p.x) * i / steps, p.y + (y - p.y) * i / steps) && ok;
    return ok;
}

namespace {
// The display server's late echo of an earlier position can still move the
// pointer after a move: a button goes down or up only once the pointer is
// where it should be.
void SettleAt(int x, int y) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        Idle(kInputPauseMs);
        POINT at{};
        GetCursorPos(&at);
        if (at.x == x && at.y == y) return;
        MoveTo(x, y);
    }
}

// A press lands where the last move put the pointer, not where an echo of
// an earlier one took it back to (at the top of the screen, say, so that a
// drag made its selection from there).
void PressWhereMoved(DWORD flags) {
    if (g_hasPointerTarget) SettleAt(g_pointerTarget.x, g_pointerTarget.y);
    MouseButton(flags);
}
}  // namespace

void LeftDown() { PressWhereMoved(MOUSEEVENTF_LEFTDOWN); }
void LeftUp() { MouseButton(MOUSEEVENTF_LEFTUP); }
void RightDown() { PressWhereMoved(MOUSEEVENTF_RIGHTDOWN); }
void RightUp() { MouseButton(MOUSEEVENTF_RIGHTUP); }

void Click(int x, int y) {
    MoveTo(x, y);
    LeftDown();
    LeftUp();
}

void RightClick(int x, int y) {
    MoveTo(x, y);
    RightDown();
    RightUp();
}

void DoubleClick(int x, int y) {
    Click(x, y);
    Idle(60 - 2 * kInputPauseMs);
    LeftDown();
    LeftUp();
}

void Drag(POINT from, POINT to, int steps) {
    MoveTo(from.x, from.y);
    LeftDown();
    MoveSmoothly(to.x, to.y, steps);
    SettleAt(to.x, to.y);
    LeftUp();
}

void KeyDown(WORD vk) { KeyEvent(vk, false); }
void KeyUp(WORD vk) { KeyEvent(vk, true); }

void Key(WORD vk, unsigned modifiers) {
    if (modifiers & Ctrl) KeyDown(VK_CONTROL);
    if (modifiers & Shift) KeyDown(VK_SHIFT);
    if (modifiers & Alt) KeyDown(VK_MENU);
    KeyDown(vk);
    KeyUp(vk);
    if (modifiers & Alt) KeyUp(VK_MENU);
    if (modifiers & Shift) KeyUp(VK_SHIFT);
    if (modifiers & Ctrl) KeyUp(VK_CONTROL);
}

void Type(const std::string& text) {
    for (char c : text) {
        SHORT vk = VkKeyScanA(c);
        if (vk == -1) continue;
        Key(static_cast<WORD>(vk & 0xFF), (vk & 0x100) ? Shift : None);
    }
}

void TypeUnicode(const std::wstring& text) {
    for (wchar_t c : text) {
        for (bool up : {false, true}) {
            INPUT in{};
            in.type = INPUT_KEYBOARD;
            in.ki.wScan = static_cast<WORD>(c);
            in.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
            SendOne(in);
        }
    }
}

bool MakeForeground(HWND hwnd) {
    if (!hwnd) return false;
    AllowSetForegroundWindow(ASFW_ANY);
    SetForegroundWindow(hwnd);
    if (WaitFor([&] { return GetForegroundWindow() == hwnd; }, 300)) return true;
    // Refused: join the input of the current foreground's thread and the
    // target's thread to ours for the switch.
    DWORD mine = GetCurrentThreadId();
    DWORD target = GetWindowThreadProcessId(hwnd, nullptr);
    HWND fg = GetForegroundWindow();
    DWORD current = fg ? GetWindowThreadProcessId(fg, nullptr) : 0;
    if (current && current != mine) AttachThreadInput(mine, current, TRUE);
    if (target != mine) AttachThreadInput(mine, target, TRUE);
    BringWindowToTop(hwnd);
    SetForegroundWindow(hwnd);
    if (target != mine) AttachThreadInput(mine, target, FALSE);
    if (current && current != mine) AttachThreadInput(mine, current, FALSE);
    return WaitFor([&] { return GetForegroundWindow() == hwnd; }, 500);
}

// ---------------------------------------------------------------- clipboard

bool ClipboardClear() {
    if (!OpenClipboardPatiently()) return false;
    BOOL ok = EmptyClipboard();
    CloseClipboard();
    return ok != FALSE;
}

bool ClipboardPutText(const std::string& text) {
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (!mem) return false;
    char* p = static_cast<char*>(GlobalLock(mem));
    std::copy(text.begin(), text.end(), p);
    p[text.size()] = '\0';
    GlobalUnlock(mem);
    if (!OpenClipboardPatiently()) {
        GlobalFree(mem);
        return false;
    }
    EmptyClipboard();
    bool ok = SetClipboardData(CF_TEXT, mem) != nullptr;
    CloseClipboard();
    if (!ok) GlobalFree(mem);
    return ok;
}

bool ClipboardPutMarkerBitmap(int w, int h, uint32_t colour) {
    HDC screen = GetDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, bmp);
    HBRUSH brush = CreateSolidBrush(RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF));
    RECT r{0, 0, w, h};
    FillRect(mem, &r, brush);
    DeleteObject(brush);
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    if (!OpenClipboardPatiently()) {
        DeleteObject(bmp);
        return false;
    }
    EmptyClipboard();
    bool ok = SetClipboardData(CF_BITMAP, bmp) != nullptr;
    CloseClipboard();
    if (!ok) DeleteObject(bmp);
    return ok;
}

std::string ClipboardText() {
    std::string text;
    if (!OpenClipboardPatiently()) return text;
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(h))) {
            text = p;
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return text;
}

Pixels ClipboardBitmap() {
    Pixels p;
    WaitFor(
        [&] {
            if (!OpenClipboard(ClipboardOwner())) return false;
            CloseClipboard();
            p = ReadClipboardBitmap(ClipboardOwner());
            return true;
        },
        1000, 10);
    return p;
}

// ---------------------------------------------------------------- files

TempFolder::TempFolder() {
    static int counter = 0;
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    std::string b = base;
    if (!b.empty() && b.back() == '\\') b.pop_back();
    for (int i = 0; i < 100 && path_.empty(); ++i) {
        std::string candidate = b + "\\snapcrest-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
                                std::to_string(++counter) + "-" + std::to_string(GetTickCount());
        if (CreateDirectoryA(candidate.c_str(), nullptr)) path_ = candidate;
    }
}

namespace {
void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            std::string full = dir + "\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(find, &fd));
        FindClose(find);
    }
    RemoveDirectoryA(dir.c_str());
}
}  // namespace

TempFolder::~TempFolder() {
    if (!path_.empty()) RemoveTree(path_);
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
    return ok && written == bytes.size();
}

std::string CopyProgramTo(const std::string& folder) {
    std::string exe = SnapcrestExe();
    std::string target = folder + "\\snapcrest.exe";
    if (exe.empty() || !CopyFileA(exe.c_str(), target.c_str(), FALSE)) return {};
    return target;
}

std::string DriverFolder() {
    char path[MAX_PATH * 4] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, n < sizeof path ? n : 0);
    const size_t cut = folder.find_last_of('\\');
    return cut == std::string::npos ? std::string() : folder.substr(0, cut);
}

std::string RandomBytes(size_t n, uint32_t seed, bool nonZero) {
    std::string out;
    out.reserve(n);
    uint32_t s = seed ? seed : 0x9E3779B9u;
    while (out.size() < n) {
        s ^= s << 13;
        s ^= s >> 17;
        s ^= s << 5;
        char c = static_cast<char>(s >> 24);
        if (nonZero && c == 0) continue;
        out.push_back(c);
    }
    return out;
}

// ---------------------------------------------------------------- fixture

void Fixture::SetUp() {
    ASSERT_FALSE(SnapcrestExe().empty()) << "SNAPCREST_EXE must name the program (wine-run.sh sets it)";
    ASSERT_EQ(ScreenWidth(), GetSystemMetrics(SM_CXVIRTUALSCREEN)) << "one screen expected";
    pattern_ = std::make_unique<PatternWindow>();
    ASSERT_NE(pattern_->Hwnd(), nullptr);
    ASSERT_EQ(WaitScreenShows(Pattern::First, 2000, "setup"), "") << "the driver's pattern did not reach the screen";
    ASSERT_TRUE(ClipboardClear());
}

void Fixture::TearDown() { pattern_.reset(); }

HWND CaptureFixture::StartCapture() {
    pattern_->Show(Pattern::First);
    EXPECT_EQ(WaitScreenShows(Pattern::First, 2000, "before-start"), "");
    program_ = std::make_unique<Program>();
    EXPECT_TRUE(program_->Started()) << program_->StartError();
    capture_ = program_->WaitCaptures(1, 3000);
    EXPECT_NE(capture_, nullptr) << program_->Summary();
    // A window the system calls visible may not be on the display yet, and a
    // press sent before it is could reach the window behind. With the
    // pattern changed, the frozen picture on the screen is the overlay's.
    pattern_->Show(Pattern::Second);
    EXPECT_EQ(WaitScreenShows(Pattern::First, 2000, "capture"), "");
    return capture_;
}

void ExpectDoubleClickCopiesSelection(Program& program, Pattern frozen) {
    DoubleClick(550, 400);
    ASSERT_TRUE(program.WaitExit(3000)) << program.Summary();
    EXPECT_EQ(Hex(0), Hex(program.ExitCode()));
    const Pixels clip = ClipboardBitmap();
    ASSERT_EQ(296, clip.width);
    ASSERT_EQ(196, clip.height);
    EXPECT_EQ("", FirstDifference(clip, 0, 0, PatternPixels(frozen, ScreenWidth(), ScreenHeight()), 402, 302,
                                  clip.width, clip.height));
}

}  // namespace e2e
