#include <gtest/gtest.h>

#include "capture/DimmingBands.h"

namespace {
// Lowest first, each band's own rows just above the last band's, the whole
// screen and image covered, and each drawing's rows the image's scaled.
void ExpectTiling(const std::vector<DimmingBand>& bands, int screenHeight, int imageHeight) {
    ASSERT_FALSE(bands.empty());
    int below = screenHeight, imageBelow = imageHeight;
    for (const DimmingBand& b : bands) {
        EXPECT_EQ(below, b.screenBottom);
        EXPECT_EQ(imageBelow, b.imageBottom);
        EXPECT_LE(b.screenTop, b.ownTop);
        EXPECT_LT(b.ownTop, b.screenBottom);
        EXPECT_EQ(static_cast<long long>(b.imageTop) * screenHeight, static_cast<long long>(b.screenTop) * imageHeight);
        below = b.ownTop;
        imageBelow = static_cast<int>(static_cast<long long>(b.ownTop) * imageHeight / screenHeight);
    }
    EXPECT_EQ(0, below);
    EXPECT_EQ(0, bands.back().screenTop);
}
}  // namespace

TEST(DimmingBands, ScalesTheLibraryMakesExactlyAreSplit) {
    struct Case {
        int screenHeight, imageHeight, bands, margin;
    };
    // Three, two, one and a half times, and once the image's height.
    for (const Case c : {Case{2160, 720, 8, 6}, Case{1440, 720, 8, 4}, Case{1080, 720, 8, 3}, Case{720, 720, 8, 2}}) {
        SCOPED_TRACE(c.screenHeight);
        const std::vector<DimmingBand> bands = DimmingBands(c.screenHeight, 720, 90);
        EXPECT_EQ(static_cast<size_t>(c.bands), bands.size());
        ExpectTiling(bands, c.screenHeight, 720);
        // Bilinear sampling of a band's first row reaches the row above.
        for (size_t i = 0; i + 1 < bands.size(); ++i) EXPECT_EQ(c.margin, bands[i].ownTop - bands[i].screenTop);
        EXPECT_EQ(bands.back().ownTop, bands.back().screenTop);
    }
}

TEST(DimmingBands, OtherScalesAreDrawnWhole) {
    // Band edges would fall between screen rows, or so far apart that a
    // band's margin reaches the image's top, or the library's single
    // precision would not give the whole drawing's scale and offset back.
    for (int screenHeight : {721, 1081, 1366, 768}) {
        SCOPED_TRACE(screenHeight);
        const std::vector<DimmingBand> bands = DimmingBands(screenHeight, 720, 90);
        ASSERT_EQ(1u, bands.size());
        ExpectTiling(bands, screenHeight, 720);
    }
    EXPECT_EQ(1u, DimmingBands(1080, 0, 90).size());
}
