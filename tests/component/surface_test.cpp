// A drawing surface that keeps a font of fixed quality between drawings: what
// is drawn on it is what is drawn on a plain one, and what it made is given
// back, whichever way it goes.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <utility>

#include "capture/PaintLayout.h"
#include "platform/FontQuality.h"
#include "platform/GdiHandles.h"
#include "platform/HandleCount.h"
#include "platform/Surface.h"
#include "tracker/MyTracker.h"

namespace {

constexpr int kW = 200, kH = 80;

// Text in a font selected for the moment, as the label and the read-out draw
// it, then the tracker, which saves and restores the context's state.
void Draw(HDC dc) {
    UniqueFont font(::CreateFontA(12, 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE, 0, 0, 0, 0, 0x20, "Arial"));
    {
        SelectScope select(dc, font.get());
        ::SetBkMode(dc, TRANSPARENT);
        ::TextOutA(dc, 10, 10, "208 X 108", 9);
        RECT line{0, 40, kW, 60};
        ::DrawTextA(dc, "RGB(1,2,3)", -1, &line, DT_CENTER);
    }
    CMyTracker tracker;
    tracker.m_rect = Rect{40, 30, 150, 70};
    tracker.m_nStyle = CMyTracker::StyleSolidLine | CMyTracker::StyleHandlesOutside;
    tracker.m_nHandleSize = 4;
    tracker.m_crLine = RGB(0, 174, 255);
    tracker.Draw(dc);
}

LOGFONTA CurrentFont(HDC dc) {
    LOGFONTA font{};
    ::GetObjectA(::GetCurrentObject(dc, OBJ_FONT), sizeof font, &font);
    return font;
}

TEST(SurfaceTest, AFixedQualityFontAtRestChangesNoPixelAndIsGivenBack) {
    Surface plain;
    ASSERT_TRUE(plain.CreateDib(kW, kH));
    Draw(plain.dc());  // the tracker's pens, made once for the program, are made now
    const long before = LiveHandles::Owned().load();
    HFONT kept = nullptr;
    {
        Surface resting;
        ASSERT_TRUE(resting.CreateDib(kW, kH));
        resting.KeepFixedQualityFont();
        resting.KeepFixedQualityFont();  // once is enough
        EXPECT_EQ(LiveHandles::Owned().load(), before + 3);
        kept = static_cast<HFONT>(::GetCurrentObject(resting.dc(), OBJ_FONT));
        EXPECT_EQ(CurrentFont(resting.dc()).lfQuality, NONANTIALIASED_QUALITY);
        LOGFONTA own{};
        ::GetObjectA(::GetStockObject(SYSTEM_FONT), sizeof own, &own);
        EXPECT_STREQ(CurrentFont(resting.dc()).lfFaceName, own.lfFaceName);

        for (Surface* s : {&plain, &resting}) {
            std::memset(s->bits(), 0x40, kW * kH * 4);
            Draw(s->dc());
        }
        ::GdiFlush();
        EXPECT_EQ(std::memcmp(plain.bits(), resting.bits(), kW * kH * 4), 0);
        EXPECT_EQ(::GetCurrentObject(resting.dc(), OBJ_FONT), kept);  // put back after the drawing

        // The bitmap may go before the context; the font goes with it.
        resting.DeleteBitmap();
        resting.DeleteContext();
        EXPECT_EQ(LiveHandles::Owned().load(), before);
    }
    LOGFONTA gone{};
    EXPECT_EQ(::GetObjectA(kept, sizeof gone, &gone), 0);  // deleted, not only deselected
    {
        Surface left;  // left whole to its destructor
        ASSERT_TRUE(left.CreateDib(kW, kH));
        left.KeepFixedQualityFont();
    }
    EXPECT_EQ(LiveHandles::Owned().load(), before);
}

TEST(SurfaceTest, ADibMadeElsewhereIsDrawnOnInPlaceAndReleasedOnceOrRefused) {
    const long before = LiveHandles::Owned().load();
    {
        void* bits = nullptr;
        UniqueBitmap made(CreateTopDownDib(kW, kH, &bits));
        ASSERT_TRUE(made);
        std::memset(bits, 0x40, kW * kH * 4);
        Surface adopted;
        ASSERT_TRUE(adopted.AdoptDib(std::move(made), bits, kW, kH));
        EXPECT_FALSE(made);
        EXPECT_EQ(adopted.bits(), bits);
        EXPECT_EQ(DibPixels(adopted.dc(), kW, kH), bits);
        ::SetPixel(adopted.dc(), 3, 2, RGB(1, 2, 3));
        ::GdiFlush();
        EXPECT_EQ(static_cast<const uint32_t*>(bits)[2 * kW + 3], 0x010203u);
        EXPECT_EQ(static_cast<const uint32_t*>(bits)[2 * kW + 4], 0x40404040u);  // the rest as it was made
    }
    EXPECT_EQ(LiveHandles::Owned().load(), before);
    Surface refused;
    EXPECT_FALSE(refused.AdoptDib(UniqueBitmap(), nullptr, kW, kH));
    EXPECT_EQ(refused.bitmap(), nullptr);
    EXPECT_EQ(refused.bits(), nullptr);
}

TEST(SurfaceTest, TheSystemsTextQualityMadeExplicitDrawsTheTextOfADefaultFont) {
    const BYTE quality = SystemTextQuality();
    // This platform smooths text, and says how.
    EXPECT_NE(quality, DEFAULT_QUALITY);
    // The label's font and the read-out's, each way, in the colours they are
    // drawn in, over a background of every byte value.
    UniqueFont fonts[2][2] = {
        {UniqueFont(::CreateFontA(12, 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE, 0, 0, 0, DEFAULT_QUALITY, 0x20, "仿宋")),
         UniqueFont(::CreateFontA(12, 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE, 0, 0, 0, quality, 0x20, "仿宋"))},
        {UniqueFont(CreatePointFontA(kReadoutPointSize, kReadoutFace)),
         UniqueFont(CreatePointFontA(kReadoutPointSize, kReadoutFace, quality))}};
    for (auto& pair : fonts) {
        for (COLORREF colour : {RGB(255, 255, 255), RGB(0, 0, 0)}) {
            Surface drawn[2];
            for (int way = 0; way < 2; ++way) {
                ASSERT_TRUE(drawn[way].CreateDib(kW, kH));
                ASSERT_NE(pair[way].get(), nullptr);
                auto* pixels = static_cast<uint32_t*>(drawn[way].bits());
                for (int i = 0; i < kW * kH; ++i) pixels[i] = static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFF;
                HDC dc = drawn[way].dc();
                drawn[way].KeepFixedQualityFont();
                SelectScope select(dc, pair[way].get());
                ::SetBkMode(dc, TRANSPARENT);
                ::SetTextColor(dc, colour);
                ::TextOutA(dc, 4, 4, "1920 X 1080", 11);
                RECT line{0, 30, kW, 60};
                ::DrawTextA(dc, "RGB:(12,34,56)", -1, &line, DT_CENTER);
            }
            ::GdiFlush();
            EXPECT_EQ(std::memcmp(drawn[0].bits(), drawn[1].bits(), kW * kH * 4), 0) << "colour " << colour;
        }
    }
}

}  // namespace
