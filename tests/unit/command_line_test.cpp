#include <gtest/gtest.h>

#include <string>

#include "app/CommandLine.h"

TEST(NoStartWord, IsFoundAsPlainCaseSensitiveBytesAnywhere) {
    EXPECT_TRUE(ContainsNoStart("snapcrest.exe nostart"));
    EXPECT_TRUE(ContainsNoStart("snapcrest.exe xnostartx"));
    EXPECT_TRUE(ContainsNoStart("C:\\nostart\\snapcrest.exe"));  // in the path too
    EXPECT_TRUE(ContainsNoStart("nostart"));
    EXPECT_FALSE(ContainsNoStart("snapcrest.exe NOSTART"));
    EXPECT_FALSE(ContainsNoStart("snapcrest.exe NoStart"));
    EXPECT_FALSE(ContainsNoStart("snapcrest.exe no start"));
    EXPECT_FALSE(ContainsNoStart("snapcrest.exe nostar"));
    EXPECT_FALSE(ContainsNoStart(""));
    EXPECT_FALSE(ContainsNoStart(nullptr));
}

TEST(NoStartWord, LongLinesAndHighBytes) {
    std::string line(100000, '\xB0');
    EXPECT_FALSE(ContainsNoStart(line.c_str()));
    line.replace(99990, 7, "nostart");
    EXPECT_TRUE(ContainsNoStart(line.c_str()));
}

TEST(DeskBandCommand, QuotesOnlyTheLibraryPath) {
    const std::string lib = DeskBandLibraryPath("C:\\My Tools\\snapcrest.exe");
    EXPECT_EQ("C:\\My Tools\\Trellow.dll", lib);
    EXPECT_EQ("rundll32.exe \"C:\\My Tools\\Trellow.dll\",ShowDeskband", DeskBandCommandLine(lib));
    EXPECT_EQ("", DeskBandLibraryPath("snapcrest.exe"));
    // A path far beyond the classic buffer size is kept whole.
    const std::string deep = "C:\\" + std::string(400, 'd') + "\\snapcrest.exe";
    EXPECT_EQ("C:\\" + std::string(400, 'd') + "\\Trellow.dll", DeskBandLibraryPath(deep));
}
