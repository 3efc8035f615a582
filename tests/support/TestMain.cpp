// Entry point of the Windows test programs. The process ends right after the tests
// report, so that nothing in the platform's process teardown (which under
// Wine can wait on the desktop) holds up the test run.
#include <windows.h>

#include <cstdio>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const int rc = RUN_ALL_TESTS();
    std::fflush(stdout);
    std::fflush(stderr);
    ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(rc));
    return rc;
}
