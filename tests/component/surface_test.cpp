// A drawing surface that keeps a font of fixed quality between drawings: what
// is drawn on it is what is drawn on a plain one, and everything it made is
// given back, in every order its teardown allows.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/GdiHandles.h"
#include "platform/HandleCount.h"
#include "platform/Surface.h"
#include "tracker/MyTracker.h"

namespace {

constexpr int kW = 200, kH = 80;

void Draw(HDC dc) {
    // Text in a font selected for the moment, as the label and the read-out
    // draw it, and the tracker, which saves and restores the context's state.
    UniqueFont font(::CreateFontA(12, 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE, 0, 0, 0, 0, 0x20, "Arial"));
    {
        SelectScope select(dc, font.get());
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, RGB(255, 255, 255));
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

TEST(SurfaceTest, AFixedQualityFontAtRestChangesNoPixelAndIsGivenBack) {
    {
        // The tracker's pens and brush, made once for the program.
        Surface first;
        ASSERT_TRUE(first.CreateDib(kW, kH));
        Draw(first.dc());
    }
    const long before = LiveHandles::Owned().load();
    Surface plain, resting;
    ASSERT_TRUE(plain.CreateDib(kW, kH));
    ASSERT_TRUE(resting.CreateDib(kW, kH));
    resting.KeepFixedQualityFont();
    resting.KeepFixedQualityFont();  // once is enough
    EXPECT_EQ(LiveHandles::Owned().load(), before + 5);

    LOGFONTA kept{};
    ASSERT_TRUE(::GetObjectA(::GetCurrentObject(resting.dc(), OBJ_FONT), sizeof kept, &kept));
    EXPECT_EQ(kept.lfQuality, NONANTIALIASED_QUALITY);
    LOGFONTA own{};
    ::GetObjectA(::GetStockObject(SYSTEM_FONT), sizeof own, &own);
    EXPECT_STREQ(kept.lfFaceName, own.lfFaceName);

    for (Surface* s : {&plain, &resting}) {
        std::memset(s->bits(), 0x40, kW * kH * 4);
        Draw(s->dc());
        ::GdiFlush();
    }
    EXPECT_EQ(std::memcmp(plain.bits(), resting.bits(), kW * kH * 4), 0);
    // Put back after the drawing.
    LOGFONTA after{};
    ::GetObjectA(::GetCurrentObject(resting.dc(), OBJ_FONT), sizeof after, &after);
    EXPECT_EQ(after.lfQuality, NONANTIALIASED_QUALITY);

    // The bitmap may go before the context; the font goes with the context.
    resting.DeleteBitmap();
    resting.DeleteContext();
    plain.DeleteContext();
    EXPECT_EQ(LiveHandles::Owned().load(), before + 1);  // the plain surface's bitmap
    plain.DeleteBitmap();
    EXPECT_EQ(LiveHandles::Owned().load(), before);
}

TEST(SurfaceTest, ASurfaceLeftWholeGivesItsFontBackAsItGoes) {
    const long before = LiveHandles::Owned().load();
    HFONT font = nullptr;
    {
        Surface s;
        ASSERT_TRUE(s.CreateDib(kW, kH));
        s.KeepFixedQualityFont();
        font = static_cast<HFONT>(::GetCurrentObject(s.dc(), OBJ_FONT));
    }
    EXPECT_EQ(LiveHandles::Owned().load(), before);
    // Deleted, not only deselected.
    LOGFONTA gone{};
    EXPECT_EQ(::GetObjectA(font, sizeof gone, &gone), 0);
}

}  // namespace
