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

TEST(DeskBandCommand, NeverLongerThanTheLaunchersBuffer) {
    // "rundll32.exe \"" + directory + "\\Trellow.dll\",ShowDeskband" is the
    // directory plus 40 bytes; with the terminator it must fit 260.
    const std::string fits = "C:\\" + std::string(216, 'f');  // 219 bytes: a 259-byte command
    const std::string full = DeskBandCommandFor(fits + "\\snapcrest.exe");
    EXPECT_EQ(259u, full.size());
    EXPECT_EQ(DeskBandCommandLine(fits + "\\Trellow.dll"), full);
    EXPECT_EQ("", DeskBandCommandFor(fits + "g\\snapcrest.exe")) << "260 bytes and the terminator do not fit";
    EXPECT_EQ("", DeskBandCommandFor("C:\\" + std::string(400, 'd') + "\\snapcrest.exe"));
    EXPECT_EQ("", DeskBandCommandFor("snapcrest.exe"));
    EXPECT_EQ("rundll32.exe \"C:\\My Tools\\Trellow.dll\",ShowDeskband", DeskBandCommandFor("C:\\My Tools\\s.exe"));
}
