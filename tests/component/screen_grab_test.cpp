// The screen grab: what reaches the clipboard for a selection, and that the
// clipboard is left alone whenever there is nothing to take.
#include <gtest/gtest.h>

#include "capture/ScreenGrab.h"
#include "tests/support/PatternScreen.h"
#include "tests/support/ScreenPixels.h"

namespace {

class ScreenGrabTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { pattern_ = new PatternScreen(); }
    static void TearDownTestSuite() {
        delete pattern_;
        pattern_ = nullptr;
    }
    void SetUp() override {
        w_ = GetSystemMetrics(SM_CXSCREEN);
        h_ = GetSystemMetrics(SM_CYSCREEN);
        owner_ = pattern_->hwnd();
    }

    static void PutMarkerText() {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 7);
        memcpy(GlobalLock(mem), "marker", 7);
        GlobalUnlock(mem);
        SetClipboardData(CF_TEXT, mem);
        CloseClipboard();
    }
    static std::string ClipboardText() {
        std::string text;
        if (!OpenClipboard(nullptr)) return text;
        if (HANDLE mem = GetClipboardData(CF_TEXT)) {
            text = static_cast<const char*>(GlobalLock(mem));
            GlobalUnlock(mem);
        }
        CloseClipboard();
        return text;
    }
    // The clipboard holds a picture of the pattern from (x, y), w x h.
    void ExpectClipboardPicture(int x, int y, int w, int h) {
        Pixels clip = ReadClipboardBitmap(owner_);
        ASSERT_EQ(w, clip.width);
        ASSERT_EQ(h, clip.height);
        for (int yy = 0; yy < h; ++yy)
            for (int xx = 0; xx < w; ++xx)
                ASSERT_EQ(PatternScreen::ColourAt(x + xx, y + yy), clip.at(xx, yy)) << "at " << xx << ", " << yy;
    }

    static PatternScreen* pattern_;
    int w_ = 0, h_ = 0;
    HWND owner_ = nullptr;
};
PatternScreen* ScreenGrabTest::pattern_ = nullptr;

TEST_F(ScreenGrabTest, SelectionGoesToTheClipboardWithoutItsTwoPixelBand) {
    ASSERT_EQ(GrabResult::Copied, GrabSelectionToClipboard(Rect{100, 100, 300, 200}, owner_, w_, h_));
    ExpectClipboardPicture(102, 102, 196, 96);
    ASSERT_EQ(GrabResult::Copied, GrabSelectionToClipboard(Rect{-50, 10, 100, 60}, owner_, w_, h_));
    ExpectClipboardPicture(2, 12, 96, 46);
    // Cut at the screen's edges before the band is taken off.
    ASSERT_EQ(GrabResult::Copied, GrabSelectionToClipboard(Rect{w_ - 120, h_ - 80, w_ + 80, h_ + 120}, owner_, w_, h_));
    ExpectClipboardPicture(w_ - 118, h_ - 78, 116, 76);
    // Five pixels wide leaves one.
    ASSERT_EQ(GrabResult::Copied, GrabSelectionToClipboard(Rect{400, 300, 405, 340}, owner_, w_, h_));
    ExpectClipboardPicture(402, 302, 1, 36);
}

TEST_F(ScreenGrabTest, NothingToTakeLeavesTheClipboardAsItWas) {
    const Rect nothing[] = {
        {300, 200, 100, 100},  // inverted
        {-1, -2, -3, -4},      // before the first selection
        {-1, -1, -1, -1},      // after the selection was cleared
        {5, 5, 5, 9},          // empty
        {100, 100, 104, 300},  // 4 wide: no pixel once the band is off
        {100, 100, 300, 103},  // 3 high
        {-10, 50, 3, 90},      // 3 wide once clipped to the screen
        {w_ + 10, 10, w_ + 200, 100},  // wholly off the screen
    };
    for (const Rect& r : nothing) {
        PutMarkerText();
        EXPECT_EQ(GrabResult::NothingToGrab, GrabSelectionToClipboard(r, owner_, w_, h_));
        EXPECT_EQ("marker", ClipboardText()) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
}

TEST_F(ScreenGrabTest, SnapshotGrabFillsTheCallersBitmapAndLeavesTheClipboard) {
    PutMarkerText();
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w_, h_);
    ReleaseDC(nullptr, screen);
    HBITMAP handle = bitmap;
    EXPECT_FALSE(CopyScreenRect(Rect{0, 0, w_, h_}, &handle, false, owner_, w_, h_));
    EXPECT_EQ(bitmap, handle);
    Pixels p = ReadBitmap(handle);
    ASSERT_EQ(w_, p.width);
    for (int y = 0; y < h_; y += 3)
        for (int x = 0; x < w_; x += 3) ASSERT_EQ(PatternScreen::ColourAt(x, y), p.at(x, y)) << x << "," << y;
    EXPECT_EQ("marker", ClipboardText());
    DeleteObject(handle);  // still the caller's
}

}  // namespace
