// The dimmed copy made band by band holds exactly what copying the plain
// picture and drawing the dimming over the whole screen at once gives, on
// screens of several sizes, whatever the picture.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "capture/BackdropDimming.h"
#include "platform/ModulePaths.h"
#include "platform/Surface.h"

TEST(BackdropDimming, BandsGiveTheWholeDrawingsPixels) {
    gdip::Startup();
    SetWorkingDirectoryToExecutable();
    const gdip::Image back = gdip::Image::PixelsFromFile(L".\\skinScreen\\back.jpg");
    ASSERT_TRUE(back);
    struct Size {
        int w, h;
    };
    // Exact and inexact scales of the image, and odd sizes whose rows of
    // three-byte pixels need padding.
    for (const Size size : {Size{1920, 1080}, Size{3840, 2160}, Size{1366, 768}, Size{1281, 721}}) {
        SCOPED_TRACE(testing::Message() << size.w << " x " << size.h);
        EXPECT_TRUE(DimInBandsMatches(back, size.w, size.h));
        // The plain picture as the snapshot keeps it, three bytes a pixel.
        std::mt19937 random(static_cast<unsigned>(size.w * 7 + size.h));
        std::vector<uint8_t> plainBytes(PixelRows::RowBytesFor(size.w, 3) * size.h);
        for (uint8_t& b : plainBytes) b = static_cast<uint8_t>(random());
        const PixelRows plain = PixelRows::Of(plainBytes.data(), size.w, 3);

        Surface drawn, banded;
        ASSERT_TRUE(drawn.CreateDib(size.w, size.h) && banded.CreateDib(size.w, size.h));
        CopyPlainArea(static_cast<uint32_t*>(drawn.bits()), size.w, plain, Rect{0, 0, size.w, size.h});
        DrawDimming(drawn.dc(), back, size.w, size.h);
        ASSERT_TRUE(DimInBands(banded.dc(), static_cast<uint32_t*>(banded.bits()), size.w, size.h, plain, back,
                               size.w, size.h));
        ::GdiFlush();
        const auto* a = static_cast<const uint32_t*>(drawn.bits());
        const auto* b = static_cast<const uint32_t*>(banded.bits());
        long differing = 0;
        for (long i = 0; i < static_cast<long>(size.w) * size.h; ++i) differing += a[i] != b[i];
        EXPECT_EQ(0, differing);
        // The dimming did change the picture: the comparison is not of two
        // copies of it.
        EXPECT_NE(plain.Colour(size.w / 2, size.h / 2), a[(size.h / 2) * size.w + size.w / 2] & 0xFFFFFF);
    }
}
