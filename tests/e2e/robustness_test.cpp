// Whatever arrives on the command line or as a window message, the program
// does not crash (under Wine a crash shows as an exit code like 0xC0000005).
#include "tests/e2e/ToolBarDriver.h"

#include <algorithm>
#include <cstdio>
#include <utility>

using namespace e2e;

namespace {

class BadInput : public Fixture {
protected:
    // Posts `message` to the host with each parameter pair.
    static void PostAll(Program& program, UINT message, const std::vector<std::pair<WPARAM, LPARAM>>& params) {
        for (const auto& p : params) ASSERT_TRUE(program.PostToHost(message, p.first, p.second)) << message;
    }

    static std::vector<std::pair<WPARAM, LPARAM>> Parameters(uint32_t seed, int randomCount) {
        std::vector<std::pair<WPARAM, LPARAM>> params = {
            {0, 0},
            {static_cast<WPARAM>(-1), static_cast<LPARAM>(-1)},
            {static_cast<WPARAM>(1) << 63, static_cast<LPARAM>(0x7FFFFFFFFFFFFFFFll)},
            {0xDEADBEEF, 0x12345678},
        };
        std::string bytes = RandomBytes(16 * static_cast<size_t>(randomCount), seed, false);
        for (int i = 0; i < randomCount; ++i) {
            uint64_t w = 0, l = 0;
            for (int b = 0; b < 8; ++b) {
                w = w << 8 | static_cast<unsigned char>(bytes[16 * i + b]);
                l = l << 8 | static_cast<unsigned char>(bytes[16 * i + 8 + b]);
            }
            params.push_back({static_cast<WPARAM>(w), static_cast<LPARAM>(l)});
        }
        return params;
    }

    // Message numbers around the program's own, without its three.
    static std::vector<UINT> Neighbours() {
        std::vector<UINT> out;
        for (UINT m = 2000; m <= 2050; ++m)
            if (m != 2024) out.push_back(m);
        for (UINT m = 3000; m <= 3050; ++m)
            if (m != 3024 && m != 3025) out.push_back(m);
        out.push_back(WM_USER);
        out.push_back(WM_APP);
        return out;
    }

    static void ExpectQuitEndsCleanly(Program& program) {
        ASSERT_TRUE(program.PostToHost(3025));
        ASSERT_TRUE(program.WaitExit(2000)) << "still running 2 s after 3025";
        EXPECT_EQ(Hex(program.ExitCode()), Hex(0));
    }
};

}  // namespace

TEST_F(BadInput, LongRandomCommandLineCaptures) {
    Program program(RandomBytes(30000, 7, true));
    ASSERT_TRUE(program.Started()) << program.StartError();
    EXPECT_NE(program.WaitCaptures(1, 3000), nullptr) << program.Summary();
    EXPECT_EQ(WaitScreenShows(Pattern::First, 1000, "capture"), "");
    ASSERT_TRUE(program.Running()) << program.Summary();
    ExpectQuitEndsCleanly(program);
}

TEST_F(BadInput, LongRandomCommandLineWithNoStartStaysIdle) {
    std::string args = RandomBytes(15000, 11, true) + " nostart " + RandomBytes(15000, 12, true);
    Program program(args);
    ASSERT_TRUE(program.Started()) << program.StartError();
    ASSERT_NE(program.WaitHost(3000), nullptr) << program.Summary();
    EXPECT_EQ(ScreenKeepsShowing(Pattern::First, 1000, "idle"), "");
    EXPECT_TRUE(program.CaptureWindows().empty());
    ASSERT_TRUE(program.Running()) << program.Summary();
    ExpectQuitEndsCleanly(program);
}

TEST_F(BadInput, CommandLineOfLoneLeadBytes) {
    // Code page 936 lead bytes with no valid trail, the last one cut off.
    Program program(std::string(20001, '\x81'));
    ASSERT_TRUE(program.Started()) << program.StartError();
    EXPECT_NE(program.WaitCaptures(1, 3000), nullptr) << program.Summary();
    ASSERT_TRUE(program.Running()) << program.Summary();
    ExpectQuitEndsCleanly(program);
}

TEST_F(BadInput, RandomMessagesWhileIdle) {
    Program program("nostart");
    ASSERT_TRUE(program.Started()) << program.StartError();
    ASSERT_NE(program.WaitHost(3000), nullptr) << program.Summary();
    for (UINT m : Neighbours()) ASSERT_NO_FATAL_FAILURE(PostAll(program, m, Parameters(m, 3)));
    ASSERT_NO_FATAL_FAILURE(PostAll(program, 2024, Parameters(99, 8)));
    Idle(300);
    ASSERT_TRUE(program.Running()) << program.Summary();
    EXPECT_TRUE(program.CaptureWindows().empty()) << "a message other than 3024 opened a capture";

    // A capture request with odd parameters is still a capture request.
    ASSERT_TRUE(program.PostToHost(3024, static_cast<WPARAM>(-1), 0x5A5A5A5A));
    EXPECT_NE(program.WaitCaptures(1, 2000), nullptr) << program.Summary();
    ASSERT_TRUE(program.Running()) << program.Summary();
    ExpectQuitEndsCleanly(program);
}

TEST_F(BadInput, RandomMessagesDuringCapture) {
    Program program;
    ASSERT_TRUE(program.Started()) << program.StartError();
    ASSERT_NE(program.WaitCaptures(1, 3000), nullptr) << program.Summary();
    for (UINT m : Neighbours()) ASSERT_NO_FATAL_FAILURE(PostAll(program, m, Parameters(m + 7, 2)));
    ASSERT_NO_FATAL_FAILURE(PostAll(program, 3024, Parameters(5, 4)));
    ASSERT_NO_FATAL_FAILURE(PostAll(program, 2024, Parameters(6, 4)));
    Idle(500);
    ASSERT_TRUE(program.Running()) << program.Summary();
    EXPECT_FALSE(program.CaptureWindows().empty());
    ExpectQuitEndsCleanly(program);
}

TEST_F(BadInput, QuitWithRandomParameters) {
    for (const auto& p : Parameters(42, 2)) {
        Program program("nostart");
        ASSERT_TRUE(program.Started()) << program.StartError();
        ASSERT_NE(program.WaitHost(3000), nullptr) << program.Summary();
        ASSERT_TRUE(program.PostToHost(3025, p.first, p.second));
        ASSERT_TRUE(program.WaitExit(2000)) << "still running 2 s after 3025 with " << Hex(p.first) << ", "
                                            << Hex(static_cast<uint64_t>(p.second));
        EXPECT_EQ(Hex(program.ExitCode()), Hex(0));
    }
}

TEST_F(BadInput, MessagesOfTheProgramsRangeToTheCaptureWindowLoseNothing) {
    Program program;
    ASSERT_TRUE(program.Started()) << program.StartError();
    HWND capture = program.WaitCaptures(1, 3000);
    ASSERT_NE(capture, nullptr) << program.Summary();
    Drag(POINT{396, 296}, POINT{700, 500}, 10);
    // Every number from 2024 to 3034 with odd parameters, but the tool bar's
    // commands that rightly end the capture or ask where to save (save 3024,
    // undo with nothing to undo 3026, close 3027), which the soak and the
    // tool-bar tests drive.
    for (UINT m = 2024; m <= 3034; ++m) {
        if (m == 3024 || m == 3026 || m == 3027) continue;
        for (const auto& p : Parameters(m, 1)) ASSERT_TRUE(PostMessageA(capture, m, p.first, p.second)) << m;
        if (m % 100 == 0) Idle(20);
    }
    Idle(500);
    ASSERT_TRUE(program.Running()) << program.Summary();
    ASSERT_EQ(capture, program.WaitCaptures(1, 1000)) << program.Summary();
    ExpectDoubleClickCopiesSelection(program);
}

TEST_F(BadInput, AProgramPathAtTheLengthLimitCaptures) {
    TempFolder folder;
    // Nested folders, made through the long-path form of the calls, so that
    // the program's path is 259 characters, as long as the platform here
    // starts, and every skin file's path is longer than MAX_PATH.
    std::wstring dir = L"\\\\?\\" + std::wstring(folder.Path().begin(), folder.Path().end());
    const size_t want = 4 + MAX_PATH - 1 - std::string("\\snapcrest.exe").size();
    while (dir.size() < want) {
        dir += L"\\" + std::wstring(std::min<size_t>(60, want - dir.size() - 1), L'd');
        ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr)) << GetLastError();
    }
    const std::wstring exe = dir + L"\\snapcrest.exe";
    std::string source = SnapcrestExe();
    ASSERT_TRUE(CopyFileW(std::wstring(source.begin(), source.end()).c_str(), exe.c_str(), FALSE));
    source = source.substr(0, source.find_last_of('\\')) + "\\skinScreen";
    const std::wstring skin = dir + L"\\skinScreen";
    ASSERT_TRUE(CreateDirectoryW(skin.c_str(), nullptr));
    for (const wchar_t* name : {L"back.jpg", L"icon_bg.png", L"rectangle.png"})
        ASSERT_TRUE(CopyFileW((std::wstring(source.begin(), source.end()) + L"\\" + name).c_str(),
                              (skin + L"\\" + name).c_str(), FALSE));
    const std::string path(exe.begin() + 4, exe.end());
    ASSERT_EQ(static_cast<size_t>(MAX_PATH - 1), path.size());
    {
        Program program("", path);
        ASSERT_TRUE(program.Started()) << program.StartError();
        ASSERT_NE(program.WaitCaptures(1, 3000), nullptr) << program.Summary();
        pattern_->Show(Pattern::Second);
        EXPECT_EQ(WaitScreenShows(Pattern::First, 1000, "capture"), "");
        Drag(POINT{396, 296}, POINT{700, 500}, 10);
        ExpectDoubleClickCopiesSelection(program);
    }
    // The deep folders go through the same form (the folder's own removal
    // cannot reach them).
    DeleteFileW(exe.c_str());
    for (const wchar_t* name : {L"back.jpg", L"icon_bg.png", L"rectangle.png"}) DeleteFileW((skin + L"\\" + name).c_str());
    RemoveDirectoryW(skin.c_str());
    while (dir.size() > 4 + folder.Path().size()) {
        RemoveDirectoryW(dir.c_str());
        dir.erase(dir.find_last_of(L'\\'));
    }
}

TEST_F(BadInput, AHundredKilobytesOfTextInTheBoxLoseNothing) {
    // 100 KB reach a text box the way a user gets them there: pasted (typing
    // them key by key would take hours), in lines, then a few keys more.
    std::string text = RandomBytes(100 * 1024, 3, true);
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = i % 80 == 78 ? '\r' : i % 80 == 79 ? '\n' : static_cast<char>('a' + static_cast<unsigned char>(text[i]) % 26);
    ASSERT_TRUE(ClipboardPutText(text));
    Program program;
    ASSERT_TRUE(program.Started()) << program.StartError();
    HWND capture = program.WaitCaptures(1, 3000);
    ASSERT_NE(capture, nullptr) << program.Summary();
    Drag(POINT{396, 296}, POINT{700, 500}, 10);
    const Bar bar = BarFor(400, 300, 700, 500);
    ASSERT_TRUE(WaitFor([&] { return ShowsBar(GrabScreen(), bar).empty(); }, 2000, 40));
    ClickButton(bar, kText);
    Click(420, 320);
    Idle(200);
    const DWORD start = GetTickCount();
    Key('V', Ctrl);
    Type("and more");
    DWORD_PTR result = 0;
    ASSERT_TRUE(SendMessageTimeoutA(capture, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 20000, &result)) << "no answer";
    std::printf("100 KB pasted and taken in %lu ms\n", GetTickCount() - start);
    ASSERT_TRUE(program.Running()) << program.Summary();
    // The finish button ends the typing and copies the picture with the text,
    // whose lines fill the box down to its bottom.
    ClickButton(bar, kFinish);
    ASSERT_TRUE(program.WaitExit(10000)) << program.Summary();
    EXPECT_EQ(Hex(0), Hex(program.ExitCode()));
    const Pixels clip = ClipboardBitmap();
    ASSERT_EQ(296, clip.width);
    ASSERT_EQ(196, clip.height);
    EXPECT_NE("", FirstDifference(clip, 0, 150, PatternPixels(Pattern::First, ScreenWidth(), ScreenHeight()), 402, 452,
                                  clip.width, 30))
        << "no text near the bottom of the copied picture";
}
