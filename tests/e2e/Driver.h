#pragma once
// The end-to-end driver: runs the real snapcrest.exe, puts a known picture on
// the screen beneath it, plays the user's mouse and keyboard with SendInput and
// reads back what the user gets (screen, clipboard, how the process ends).
//
// Everything here runs on the test's thread, which also owns the driver's
// windows: every wait pumps that thread's messages, because under Wine a
// window's drawing reaches the X screen only while its thread pumps.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/ScreenPixels.h"

namespace e2e {

// ---------------------------------------------------------------- waiting

// Handles every message queued for the driver's thread.
void Pump();
// Waits `ms` milliseconds while pumping.
void Idle(int ms);
// Polls `condition` every `stepMs` (pumping in between) until it holds or
// `timeoutMs` passed; returns whether it held. The condition is checked at
// least once, and once more at the deadline.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs, int stepMs = 20);

// ---------------------------------------------------------------- the test pattern

// Two deterministic full-screen pictures. In the first, every pixel of a
// 2048×2048 area has its own colour (red = x mod 256, green = y mod 256, blue
// from the high bits of x and y), so a picture shifted by one pixel in any
// direction differs everywhere. The second is the first inverted, so it
// differs from the first at every pixel.
enum class Pattern { First, Second };
uint32_t PatternColour(Pattern pattern, int x, int y);
// The pattern over a w×h area whose top-left is the screen's (0, 0).
Pixels PatternPixels(Pattern pattern, int w, int h);

// The driver's full-screen window showing a pattern: WS_POPUP, not topmost,
// covering the primary screen at (0, 0), showing the first pattern once
// created (check with WaitScreenShows before relying on it).
class PatternWindow {
public:
    PatternWindow();
    ~PatternWindow();
    PatternWindow(const PatternWindow&) = delete;
    PatternWindow& operator=(const PatternWindow&) = delete;

    // Switches the picture and repaints at once (pumping). Whether the screen
    // shows it depends on what covers the window.
    void Show(Pattern pattern);
    Pattern Current() const { return current_; }
    HWND Hwnd() const { return hwnd_; }
    // Brings the window back on top of non-topmost windows and to the foreground.
    void Raise();

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    HWND hwnd_ = nullptr;
    Pattern current_ = Pattern::First;
    HBITMAP bitmaps_[2] = {nullptr, nullptr};
};

// ---------------------------------------------------------------- the screen

int ScreenWidth();
int ScreenHeight();

// Where failure pictures go: %SNAPCREST_ARTIFACTS% (a Unix path is taken on
// drive Z:) or else the temp directory. The folder is created when missing.
std::wstring ArtifactDir();
// Saves `p` as "<suite>.<test>-<name>.png" in ArtifactDir(); returns the path
// (empty when saving failed).
std::wstring SaveArtifact(const Pixels& p, const std::string& name);

// A rectangle of the screen, left/top inclusive, right/bottom exclusive.
struct Area {
    int left, top, right, bottom;
};
// Empty when the screen shows `pattern` exactly in every area (the whole
// screen when `areas` is empty), else a description of the first difference.
// Nothing is saved.
std::string ScreenVsPattern(const Pixels& screen, Pattern pattern, const std::vector<Area>& areas = {});
// Polls the screen until it shows `pattern` exactly in `areas` (whole screen
// when empty) or `timeoutMs` passes. On failure saves the last screen grab and
// a difference picture (differing pixels red) as artifacts named `name` and
// returns the difference text with the artifact's path; empty on success.
std::string WaitScreenShows(Pattern pattern, int timeoutMs, const std::string& name,
                            const std::vector<Area>& areas = {});
// Grabs the screen for `ms` milliseconds (every 20 ms) and checks it shows
// `pattern` at every grab; same result convention as WaitScreenShows.
std::string ScreenKeepsShowing(Pattern pattern, int ms, const std::string& name,
                               const std::vector<Area>& areas = {});

// ---------------------------------------------------------------- the program

// A whole file's bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);

// The Windows path of the program under test (%SNAPCREST_EXE%); empty when unset.
std::string SnapcrestExe();

// One run of the program. The destructor kills it if it still runs, so a
// failing test leaves no process behind.
class Program {
public:
    // Starts `exe` with the command line `"exe" args` (args passed as raw
    // bytes, code page 936). `directory` is the working directory (the
    // driver's own when empty). Check Started().
    explicit Program(const std::string& args = "", const std::string& exe = SnapcrestExe(),
                     const std::string& directory = "");
    // A run of the program that something else started (a relaunch, say),
    // by its process id; null when it cannot be opened. Killed on
    // destruction like one started here.
    static std::unique_ptr<Program> Attach(DWORD pid);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool Started() const { return process_ != nullptr; }
    // Why the start failed (empty when it started).
    const std::string& StartError() const { return startError_; }
    HANDLE Handle() const { return process_; }
    DWORD Pid() const { return pid_; }
    // The full path of the process's executable; empty when unknown.
    std::string ImagePath() const;

    bool Running() const;
    // Waits (pumping) for the process to end; true when it ended in time.
    bool WaitExit(int timeoutMs);
    // STILL_ACTIVE while running.
    DWORD ExitCode() const;
    void Kill();

    // Top-level windows of the process, in z-order (topmost first).
    std::vector<HWND> Windows() const;
    // The host: the top-level window titled "岚梭截屏"; nullptr when none.
    HWND Host() const;
    // Waits for the host and then for the program to wait for input, so
    // that the host has finished setting itself up.
    HWND WaitHost(int timeoutMs);
    // Waits (pumping) until the program's thread waits for input (WaitForInputIdle).
    bool WaitInputIdle(int timeoutMs);
    // The capture windows: visible top-level windows of the process, other
    // than the host, whose window rectangle is the whole primary screen.
    std::vector<HWND> CaptureWindows() const;
    // Visible top-level windows of the process other than the host.
    std::vector<HWND> VisibleWindows() const;
    // Waits until exactly `count` capture windows exist; returns the topmost
    // one (nullptr on timeout, or when count is 0).
    HWND WaitCaptures(size_t count, int timeoutMs);

    // One line per top-level window of the process (class, visibility,
    // rectangle, styles), the exit code and what the screen shows, for
    // failure messages; the first one for a running program adds where its
    // threads wait.
    std::string Summary() const;

    // PostMessage to the host (found on demand).
    bool PostToHost(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

private:
    struct Attached {};
    explicit Program(Attached) {}
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
    std::string startError_;
    mutable bool stacksShown_ = false;
};

// Processes other than the driver that show a capture window (a visible
// top-level window covering the whole primary screen), lowest id first.
std::vector<DWORD> CapturingProcesses();

// ---------------------------------------------------------------- window facts

std::string WindowTextA(HWND hwnd);
RECT WindowRect(HWND hwnd);
LONG_PTR Style(HWND hwnd);
LONG_PTR ExStyle(HWND hwnd);
bool IsTopmost(HWND hwnd);
std::string Describe(const RECT& r);
std::string Hex(uint64_t value);

// ---------------------------------------------------------------- input as a user

// Moves the pointer to the exact pixel (x, y) with absolute SendInput moves
// (checked with GetCursorPos and corrected when the mapping rounds off).
// Returns false when the pointer did not get there.
bool MoveTo(int x, int y);
// Moves from the current position to (x, y) in `steps` equal steps.
bool MoveSmoothly(int x, int y, int steps = 10);
// A press waits, if need be, until the pointer is where the last move put it.
void LeftDown();
void LeftUp();
void RightDown();
void RightUp();
void Click(int x, int y);
void RightClick(int x, int y);
// Two clicks 60 ms apart.
void DoubleClick(int x, int y);
// Press at `from`, move in `steps` steps to `to`, release.
void Drag(POINT from, POINT to, int steps = 10);

enum Modifiers : unsigned { None = 0, Shift = 1, Ctrl = 2, Alt = 4 };
// Presses and releases a virtual key, holding the modifiers around it.
void Key(WORD vk, unsigned modifiers = None);
void KeyDown(WORD vk);
void KeyUp(WORD vk);
// Types plain ASCII text as keys.
void Type(const std::string& text);
// Types each UTF-16 unit as Unicode input, the way an input method delivers
// what it composed.
void TypeUnicode(const std::wstring& text);

// Makes `hwnd` (of any process) the foreground window; true when it is.
bool MakeForeground(HWND hwnd);

// ---------------------------------------------------------------- clipboard

bool ClipboardClear();
bool ClipboardPutText(const std::string& text);
// A w×h bitmap of one colour (0x00RRGGBB) as CF_BITMAP.
bool ClipboardPutMarkerBitmap(int w, int h, uint32_t colour);
std::string ClipboardText();
// The CF_BITMAP on the clipboard; empty when there is none.
Pixels ClipboardBitmap();

// ---------------------------------------------------------------- files

// A fresh folder under the temp directory, removed with its contents on destruction.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return path_; }
    // Path() + "\\" + name.
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

bool WriteFileBytes(const std::string& path, const std::string& bytes);
// Copies the program under test into `folder` as snapcrest.exe (nothing else
// comes along: no skin). Returns the copy's path, empty on failure.
std::string CopyProgramTo(const std::string& folder);
// The folder of the driver's own executable (no trailing backslash).
std::string DriverFolder();
// `n` bytes from a fixed-seed generator; with `nonZero` no byte is 0.
std::string RandomBytes(size_t n, uint32_t seed, bool nonZero);

// ---------------------------------------------------------------- fixture

// Base of the end-to-end tests: the pattern window on screen (first pattern,
// checked) and an emptied clipboard. Derive one class per suite.
class Fixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::unique_ptr<PatternWindow> pattern_;
};

// Base of the tests that start a capture: StartCapture runs the program and
// waits for its frozen picture of the first pattern; the driver's own window
// shows the second from then on, so every later check sees the frozen picture.
// With the selection dragged from (396, 296) to (700, 500): a double click
// inside puts exactly its interior (as `frozen` showed when the capture
// froze the screen) on the clipboard, and the process ends with code 0.
void ExpectDoubleClickCopiesSelection(Program& program, Pattern frozen = Pattern::First);

class CaptureFixture : public Fixture {
protected:
    HWND StartCapture();
    std::unique_ptr<Program> program_;
    HWND capture_ = nullptr;
};

}  // namespace e2e
