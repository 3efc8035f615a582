// An item blended from its capture gives exactly the pixels of the imaging
// library drawing it: over any background, partly off the surface and within
// a clipping region, through the platform and with the blending learned from
// it. Checked for each item the program draws this way.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <string>

#include "platform/BlendSprite.h"
#include "platform/Gdiplus.h"
#include "platform/ModulePaths.h"

namespace {

constexpr int kW = 400, kH = 120;

struct Item {
    const char* name;
    int width, height;
    // Draws the item with its top-left corner at (x, y).
    std::function<void(HDC, int, int)> draw;
};

class BlendSpriteTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        gdip::Startup();
        SetWorkingDirectoryToExecutable();
    }
    static void Noise(Surface* s, unsigned seed) {
        std::mt19937 random(seed);
        auto* p = static_cast<uint32_t*>(s->bits());
        for (int i = 0; i < kW * kH; ++i) p[i] = random() & 0x00FFFFFF;
    }
};

TEST_F(BlendSpriteTest, BlendingTheCaptureGivesTheLibrarysPixels) {
    const gdip::Image bar = gdip::Image::FromFile(L".\\skinScreen\\icon_bg.png");
    const gdip::Image panel = gdip::Image::FromFile(L".\\skinScreen\\pop_bg.png");
    const gdip::Image back = gdip::Image::FromFile(L".\\skinScreen\\back.jpg");
    ASSERT_TRUE(bar && panel && back);
    auto natural = [](const gdip::Image& image) {
        return [&image](HDC dc, int x, int y) {
            gdip::Graphics g(dc);
            const int w = static_cast<int>(image.Width()), h = static_cast<int>(image.Height());
            gdip::DrawImageRectRect(g, image, x, y, w, h, 0, 0, w, h, nullptr);
        };
    };
    const Item items[] = {
        {"bar background", static_cast<int>(bar.Width()), static_cast<int>(bar.Height()), natural(bar)},
        {"panel background", static_cast<int>(panel.Width()), static_cast<int>(panel.Height()), natural(panel)},
        {"label backdrop", 80, 20,
         [&back](HDC dc, int x, int y) {
             gdip::Graphics g(dc);
             gdip::AlphaAttributes attributes(0.7f);
             gdip::DrawImageRectRect(g, back, x, y, 80, 20, 0, 0, 80, 20, &attributes);
         }},
        {"read-out fill", 117, 37,
         [](HDC dc, int x, int y) {
             gdip::Graphics g(dc);
             gdip::SolidBrush fill(0x64292B2F);
             gdip::FillRectangle(g, fill, x, y, 117, 37);
         }},
    };
    const struct {
        int x, y;
        bool clipped;
    } places[] = {{13, 9, false}, {-17, -5, false}, {kW - 50, kH - 11, false}, {31, 40, true}};
    BlendSprite::LearnPlatformBlending();
    ASSERT_TRUE(BlendSprite::PlatformBlendingLearned());
    // A clip that cuts the item, as a composition of changed areas does: two
    // rectangles, the second touching the first.
    const std::vector<Rect> clip{Rect{40, 0, 90, 50}, Rect{40, 50, 60, 70}};
    unsigned seed = 1;
    for (const Item& item : items) {
        BlendSprite sprite;
        ASSERT_TRUE(sprite.Capture(item.width, item.height, [&item](HDC dc) { item.draw(dc, 0, 0); })) << item.name;
        for (const auto& place : places)
            for (bool direct : {false, true}) {
            SCOPED_TRACE(std::string(item.name) + " at " + std::to_string(place.x) + "," + std::to_string(place.y) +
                         (direct ? ", learned" : ", platform"));
            Surface drawn, blended;
            ASSERT_TRUE(drawn.CreateDib(kW, kH) && blended.CreateDib(kW, kH));
            Noise(&drawn, seed);
            Noise(&blended, seed++);
            if (place.clipped) {
                for (Surface* s : {&drawn, &blended}) {
                    UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
                    for (const Rect& r : clip) {
                        UniqueRegion part(CreateRectRgn(r.left, r.top, r.right, r.bottom));
                        CombineRgn(region.get(), region.get(), part.get(), RGN_OR);
                    }
                    SelectClipRgn(s->dc(), region.get());
                }
            }
            item.draw(drawn.dc(), place.x, place.y);
            if (direct)
                sprite.BlendOnto(PixelTarget{static_cast<uint32_t*>(blended.bits()), kW, kH, place.clipped ? &clip : nullptr},
                                 blended.dc(), place.x, place.y);
            else
                sprite.BlendOnto(blended.dc(), place.x, place.y);
            GdiFlush();
            const auto* a = static_cast<const uint32_t*>(drawn.bits());
            const auto* b = static_cast<const uint32_t*>(blended.bits());
            int differing = 0, first = -1;
            for (int i = 0; i < kW * kH; ++i)
                if ((a[i] & 0xFFFFFF) != (b[i] & 0xFFFFFF) && differing++ == 0) first = i;
            EXPECT_EQ(differing, 0) << "first at x=" << first % kW << " y=" << first / kW;
        }
    }
}

}  // namespace
