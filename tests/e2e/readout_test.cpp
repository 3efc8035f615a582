// The read-out beside the pointer while the first selection is dragged out:
// where the box goes near the screen's edges, what its two lines say, and
// that it goes with the release.
#include <algorithm>

#include "capture/PaintLayout.h"
#include "platform/GdiHandles.h"
#include "tests/e2e/Driver.h"

using namespace e2e;

namespace {

// How much of each pixel of `r` the text covers when drawn as the read-out
// draws a line (centred, white on black here), 0 to 255.
Pixels Coverage(const std::string& text, const Rect& r) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), r.Width(), -r.Height(), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueDC dc(CreateCompatibleDC(nullptr));
    UniqueFont font(CreatePointFontA(kReadoutPointSize, kReadoutFace));
    SelectScope selectBitmap(dc.get(), bitmap.get()), selectFont(dc.get(), font.get());
    SetBkMode(dc.get(), TRANSPARENT);
    SetTextColor(dc.get(), RGB(255, 255, 255));
    RECT box{0, 0, r.Width(), r.Height()};
    DrawTextA(dc.get(), text.c_str(), -1, &box, DT_CENTER);
    return ReadDC(dc.get(), 0, 0, r.Width(), r.Height());
}

// Empty when the screen shows `text` in line `r` of the box: where the text
// covers a pixel fully, white dimmed stays light in every channel; where it
// leaves it alone, the dimmed fill over the picture is darker in some channel.
std::string ShowsLine(const Pixels& screen, const std::string& text, const Rect& r) {
    const Pixels cover = Coverage(text, r);
    int inked = 0;
    for (int y = 0; y < r.Height(); ++y)
        for (int x = 0; x < r.Width(); ++x) {
            const uint32_t v = cover.at(x, y) & 0xFF, s = screen.at(r.left + x, r.top + y);
            const uint32_t darkest = std::min({s >> 16 & 0xFF, s >> 8 & 0xFF, s & 0xFF});
            inked += v >= 240;
            if ((v >= 240 && darkest < 73) || (v <= 16 && darkest >= 73))
                return "\"" + text + "\" not shown at (" + std::to_string(r.left + x) + ", " +
                       std::to_string(r.top + y) + ")";
        }
    return inked > 20 ? "" : "nothing to compare for \"" + text + "\"";
}

// The screen once it shows a selection (the bottom-left corner, away from
// every selection here, dimmed), differs from `earlier` and stops changing.
// The first picture with a selection may take a moment: it waits for the
// dimmed snapshot.
Pixels Settled(const Pixels& earlier = Pixels()) {
    const int x = 10, y = ScreenHeight() - 10;
    Pixels last, now;
    WaitFor(
        [&] {
            now = GrabScreen();
            const bool same = now.data == last.data;
            last = now;
            return same && now.data != earlier.data && now.at(x, y) != PatternColour(Pattern::First, x, y);
        },
        3000, 40);
    return now;
}

class Readout : public CaptureFixture {};

}  // namespace

TEST_F(Readout, FollowsThePointerGivesWayAtTheEdgesAndGoesAtTheRelease) {
    UniqueDC measure(CreateCompatibleDC(nullptr));
    UniqueFont font(CreatePointFontA(kReadoutPointSize, kReadoutFace));
    SelectScope select(measure.get(), font.get());
    TEXTMETRICA tm{};
    GetTextMetricsA(measure.get(), &tm);
    SIZE ref{};
    GetTextExtentPoint32A(measure.get(), kReadoutReferenceText, kReadoutReferenceLength, &ref);
    const int lh = tm.tmHeight + tm.tmExternalLeading, W = ScreenWidth();

    // Drags that leave the box outside the selection, whose bright inside
    // would cover it: beside the corner the pointer holds.
    struct Case {
        const char* where;
        POINT from, to;
        bool left, below;
    } cases[] = {
        {"above right", {96, 96}, {300, 200}, false, false},
        {"left near the right edge", {W - 10, 700}, {W - 40, 500}, true, false},
        {"below near the top", {300, 300}, {500, 10}, false, true},
        {"left and below in the top-right corner", {W - 10, 300}, {W - 40, 10}, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        StartCapture();
        const POINT to = c.to, before{to.x + (c.left ? 20 : -20), to.y + (c.below ? 12 : -12)};
        MoveTo(c.from.x, c.from.y);
        LeftDown();
        MoveSmoothly(before.x, before.y, 6);
        // The colour line reads the screen as the previous move left it.
        const Pixels previous = Settled();
        const uint32_t under = previous.at(to.x, to.y);
        MoveTo(to.x, to.y);
        const Pixels during = Settled(previous);
        LeftUp();
        const Pixels after = Settled(during);

        const ReadoutLayout box = PlaceReadout(Point{to.x, to.y}, lh, ref.cx, W);
        EXPECT_EQ(c.left, box.box.right < to.x);
        EXPECT_EQ(c.below, box.box.top > to.y);
        // With the release the box goes, and nothing else changes.
        const Rect bounds = box.Bounds();
        long changed = 0;
        for (int y = 0; y < during.height; ++y)
            for (int x = 0; x < during.width; ++x)
                if (during.at(x, y) != after.at(x, y)) {
                    ++changed;
                    ASSERT_TRUE(bounds.Contains(Point{x, y})) << "changed at " << x << ", " << y;
                }
        const Rect& b = box.box;
        for (POINT corner : {POINT{b.left, b.top}, POINT{b.right - 1, b.top}, POINT{b.left, b.bottom - 1}})
            EXPECT_NE(during.at(corner.x, corner.y), after.at(corner.x, corner.y)) << corner.x << ", " << corner.y;

        // The true rectangle's corner, and the colour that was under the pointer.
        const int trueLeft = std::min(c.from.x + 4, to.x) - 4, trueTop = std::min(c.from.y + 4, to.y) - 4;
        EXPECT_EQ(ShowsLine(during, "顶点位置(" + std::to_string(trueLeft) + "," + std::to_string(trueTop) + ")",
                            box.line1),
                  "");
        char colour[64];
        FormatReadoutColour(RGB(under >> 16 & 0xFF, under >> 8 & 0xFF, under & 0xFF), colour, sizeof colour);
        EXPECT_EQ(ShowsLine(during, colour, box.line2), "");
        if (HasFailure()) SaveArtifact(during, c.where);
        Key(VK_ESCAPE);
        EXPECT_TRUE(program_->WaitExit(3000));
    }
}
