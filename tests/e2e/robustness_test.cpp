// Whatever arrives on the command line or as a window message, the program
// does not crash (under Wine a crash shows as an exit code like 0xC0000005).
#include "tests/e2e/Driver.h"

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
