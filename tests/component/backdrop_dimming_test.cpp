// The dimmed copy made band by band holds exactly what copying the plain
// picture and drawing the dimming over the whole screen at once gives, on
// screens of several sizes, whatever the picture; and the plain picture is
// copied as the platform copies it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "capture/BackdropDimming.h"
#include "platform/DibInfo.h"
#include "platform/GdiHandles.h"
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

TEST(BackdropDimming, PlainAreasAreCopiedAsThePlatformCopiesThem) {
    // A picture of three bytes a pixel, with padded rows, copied onto one of
    // four by the platform and by the program, over areas of every width
    // and alignment up to a few pixels.
    constexpr int w = 37, h = 9;
    void* bits = nullptr;
    const BITMAPINFO info = TopDownDib(w, h, 24);
    UniqueBitmap picture(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_TRUE(picture);
    std::mt19937 random(5);
    auto* bytes = static_cast<uint8_t*>(bits);
    for (size_t i = 0; i < PixelRows::RowBytesFor(w, 3) * h; ++i) bytes[i] = static_cast<uint8_t>(random());
    Surface platform, program;
    ASSERT_TRUE(platform.CreateDib(w, h) && program.CreateDib(w, h));
    {
        UniqueDC source(::CreateCompatibleDC(nullptr));
        SelectScope select(source.get(), picture.get());
        ::BitBlt(platform.dc(), 0, 0, w, h, source.get(), 0, 0, SRCCOPY);
        ::GdiFlush();
    }
    const auto* want = static_cast<const uint32_t*>(platform.bits());
    auto* got = static_cast<uint32_t*>(program.bits());
    for (int left = 0; left < 6; ++left)
        for (int right = left; right <= w; ++right) {
            std::fill(got, got + w * h, 0xA5A5A5A5u);
            const Rect area{left, 2, right, h - 1};
            CopyPlainArea(got, w, PixelRows::Of(bits, w, 3), area);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    ASSERT_EQ(area.Contains(Point{x, y}) ? want[y * w + x] : 0xA5A5A5A5u, got[y * w + x])
                        << x << ", " << y << " copying " << left << ".." << right;
        }
}
