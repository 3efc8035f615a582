#include <gtest/gtest.h>

#include <string>

#include "capture/SaveNaming.h"
#include "framework/FilterText.h"
#include "platform/PathText.h"

namespace {
// The proposed name's prefix, 岚梭截图, as the program holds it (code page 936).
const std::string kPrefix = "\xE1\xB0\xCB\xF3\xBD\xD8\xCD\xBC";
}  // namespace

TEST(SaveNaming, ProposedNameIsUtcPlusEightHoursWithoutLeadingZerosOrDayCarry) {
    struct Case {
        int y, mo, d, h, mi, s;
        const char* digits;
    } cases[] = {
        {2018, 7, 5, 3, 4, 5, "2018751145"},
        {2018, 7, 5, 20, 30, 0, "20187528300"},  // hour 28: no carry into the day
        {2026, 12, 31, 23, 59, 59, "2026123131" "5959"},
        {2026, 1, 1, 0, 0, 0, "202611800"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(kPrefix + c.digits, DefaultSaveName(c.y, c.mo, c.d, c.h, c.mi, c.s)) << c.digits;
}

TEST(SaveNaming, PngIsAlwaysAppendedAndLongPathsStayWhole) {
    EXPECT_EQ("C:\\shot.png", PngPathFor("C:\\shot"));
    EXPECT_EQ("C:\\shot.png.png", PngPathFor("C:\\shot.png"));
    EXPECT_EQ("C:\\shot.jpg.png", PngPathFor("C:\\shot.jpg"));
    // A path far past the 256 bytes a fixed buffer would have held.
    const std::string longPath = "C:\\" + std::string(600, 'a');
    EXPECT_EQ(longPath + ".png", PngPathFor(longPath));
}

TEST(SaveNaming, ImageTypeFollowsTheLastExtensionWhateverItsCase) {
    struct Case {
        const char* path;
        const char* mime;
    } cases[] = {
        {"C:\\a\\shot.png", "image/png"},   {"C:\\a\\shot.PNG", "image/png"},  {"shot.jpg.png", "image/png"},
        {"x.JpEg", "image/jpeg"},           {"x.jpe", "image/jpeg"},           {"x.jpg", "image/jpeg"},
        {"x.Bmp", "image/bmp"},             {"C:\\dir.png\\shot", nullptr},    {"png", "image/png"},
        {"x.gif", nullptr},                 {"x.", nullptr},                   {"", nullptr},
    };
    for (const Case& c : cases) {
        const char* got = MimeTypeForPath(c.path);
        if (c.mime)
            EXPECT_STREQ(c.mime, got) << c.path;
        else
            EXPECT_EQ(nullptr, got) << c.path << " gave " << got;
    }
}

TEST(FileFilter, PairsUpToTheEmptyName) {
    const auto entries = ParseFileFilter("(*.png)|*.png|All file(*.*)|*.*||");
    ASSERT_EQ(2u, entries.size());
    EXPECT_EQ("(*.png)", entries[0].first);
    EXPECT_EQ("*.png", entries[0].second);
    EXPECT_EQ("All file(*.*)", entries[1].first);
    EXPECT_EQ("*.*", entries[1].second);
    // A trailing name without a pattern, and an empty filter, give nothing more.
    EXPECT_EQ(1u, ParseFileFilter("a|*.a|b").size());
    EXPECT_TRUE(ParseFileFilter("").empty());
}
