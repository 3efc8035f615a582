// The tool bar as a user meets it: where it shows, its hover frames, clicks
// that fire and those that do not, the panel and its colour chooser, and the
// ways out it offers (finish, close, undo), also with a busy clipboard.
#include "tests/e2e/ToolBarDriver.h"

using namespace e2e;

namespace {

class ToolBar : public CaptureFixture {
protected:
    // Drags out a selection and waits for its bar.
    Bar Select(POINT from, POINT to) {
        Drag(from, to, 10);
        const Bar bar = BarFor(from.x + 4, from.y + 4, to.x, to.y);
        std::string why;
        if (!WaitFor([&] { return (why = ShowsBar(GrabScreen(), bar)).empty(); }, 2000, 40))
            SaveArtifact(GrabScreen(), "bar");
        EXPECT_EQ("", why) << "the bar is not where it belongs (bar " << Describe(bar.rect) << ")";
        return bar;
    }

    void ExpectEnds() {
        EXPECT_TRUE(program_->WaitExit(3000)) << program_->Summary();
        EXPECT_EQ(0u, program_->ExitCode());
    }

    // The picture the clipboard should hold for a normalised selection.
    static std::string ClipboardShows(int left, int top, int right, int bottom) {
        Pixels clip = ClipboardBitmap();
        if (clip.width != right - left - 4 || clip.height != bottom - top - 4)
            return "clipboard picture is " + std::to_string(clip.width) + " x " + std::to_string(clip.height);
        const Pixels want = PatternPixels(Pattern::First, ScreenWidth(), ScreenHeight());
        return FirstDifference(clip, 0, 0, want, left + 2, top + 2, clip.width, clip.height);
    }

    static uint32_t SwatchColour(const Bar& bar) {
        const POINT c = bar.Centre(kColour);
        return GrabScreenRect(c.x, c.y, 1, 1).at(0, 0);
    }
};

}  // namespace

TEST_F(ToolBar, HoverFramesFollowThePointerAndOnlyAWholeClickFires) {
    StartCapture();
    ASSERT_TRUE(ClipboardPutText("before"));
    const Bar bar = Select(POINT{396, 296}, POINT{700, 500});
    ASSERT_FALSE(bar.above);
    // No tool chosen yet: no panel.
    EXPECT_NE("", ShowsPanel(GrabScreen(), bar));

    for (int b = kRect; b <= kFinish; ++b) {
        const POINT c = bar.Centre(static_cast<Button>(b));
        MoveTo(c.x, c.y);
        std::string why;
        WaitFor([&] { return (why = ShowsBar(GrabScreen(), bar, b)).empty(); }, 1000, 30);
        EXPECT_EQ("", why) << "hovering button " << b;
    }
    MoveTo(550, 400);
    EXPECT_TRUE(WaitFor([&] { return ShowsBar(GrabScreen(), bar).empty(); }, 1000, 30)) << "hover frame stayed";

    // Pressed on close, released on finish: neither fires.
    MoveTo(bar.Centre(kClose).x, bar.Centre(kClose).y);
    LeftDown();
    MoveSmoothly(bar.Centre(kFinish).x, bar.Centre(kFinish).y, 4);
    LeftUp();
    Idle(400);
    ASSERT_TRUE(program_->Running());
    // Pressed on close, off it and back before the release: close fires.
    MoveTo(bar.Centre(kClose).x, bar.Centre(kClose).y);
    LeftDown();
    MoveSmoothly(550, 400, 4);
    MoveSmoothly(bar.Centre(kClose).x, bar.Centre(kClose).y, 4);
    LeftUp();
    ExpectEnds();
    EXPECT_EQ("before", ClipboardText()) << "close touched the clipboard";
}

TEST_F(ToolBar, GoesAboveWithoutRoomAndThePanelSetsTheColourThroughTheChooser) {
    StartCapture();
    const int H = ScreenHeight();
    const Bar bar = Select(POINT{496, H - 124}, POINT{900, H - 40});
    EXPECT_TRUE(bar.above);
    EXPECT_NE("", ShowsPanel(GrabScreen(), bar)) << "the panel showed before a tool was chosen";

    ClickButton(bar, kRect);
    std::string why;
    WaitFor([&] { return (why = ShowsPanel(GrabScreen(), bar)).empty(); }, 1000, 30);
    EXPECT_EQ("", why) << "no panel after choosing a tool";
    EXPECT_EQ(Hex(Rgb(255, 0, 0)), Hex(SwatchColour(bar))) << "the swatch starts red";
    ClickButton(bar, kWidth8);
    ClickButton(bar, kWidth2);

    // The chooser opens in front, owned by the capture window, on black.
    ClickButton(bar, kColour);
    HWND chooser = WaitDialog(capture_, 3000);
    ASSERT_NE(nullptr, chooser) << "no chooser owned by the capture window\n" << program_->Summary();
    RECT r = WindowRect(chooser);
    EXPECT_EQ(chooser, GetAncestor(WindowFromPoint(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}), GA_ROOT))
        << "the chooser is hidden behind something";
    for (int id : {706, 707, 708}) EXPECT_EQ("0", ControlText(GetDlgItem(chooser, id))) << id;
    SendMessageA(GetDlgItem(chooser, 706), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("0"));
    SendMessageA(GetDlgItem(chooser, 707), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("128"));
    SendMessageA(GetDlgItem(chooser, 708), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("255"));
    SendMessageA(GetDlgItem(chooser, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return SwatchColour(bar) == Rgb(0, 128, 255); }, 2000)) << Hex(SwatchColour(bar));

    // Cancelling keeps the colour; the chooser opens on black again.
    ClickButton(bar, kColour);
    chooser = WaitDialog(capture_, 3000);
    ASSERT_NE(nullptr, chooser);
    EXPECT_EQ("0", ControlText(GetDlgItem(chooser, 707)));
    SendMessageA(GetDlgItem(chooser, IDCANCEL), BM_CLICK, 0, 0);
    Idle(300);
    EXPECT_EQ(Hex(Rgb(0, 128, 255)), Hex(SwatchColour(bar)));
    Key(VK_ESCAPE);
    ExpectEnds();
}

TEST_F(ToolBar, FinishCopiesAnUpLeftSelectionExactly) {
    StartCapture();
    ASSERT_TRUE(ClipboardPutText("before"));
    Drag(POINT{700, 500}, POINT{400, 300}, 10);
    const Bar bar = BarFor(704, 504, 400, 300);
    ASSERT_TRUE(WaitFor([&] { return ShowsBar(GrabScreen(), bar).empty(); }, 2000, 40));
    ClickButton(bar, kFinish);
    ExpectEnds();
    EXPECT_EQ("", ClipboardShows(400, 300, 704, 504));
}

TEST_F(ToolBar, UndoWithNothingToUndoEnds) {
    StartCapture();
    ASSERT_TRUE(ClipboardPutText("before"));
    // Before any selection the bar is nowhere: a click where its close button
    // waits to be placed (the screen's top-left) starts a selection instead.
    Click(190, 19);
    Idle(300);
    ASSERT_TRUE(program_->Running()) << "an unseen button fired";
    const Bar bar = BarFor(190, 19, 194, 23);
    ASSERT_TRUE(WaitFor([&] { return ShowsBar(GrabScreen(), bar).empty(); }, 2000, 40));
    ClickButton(bar, kUndo);
    ExpectEnds();
    EXPECT_EQ("before", ClipboardText());
}

TEST_F(ToolBar, ABusyClipboardDelaysTheCopyWithoutLosingIt) {
    StartCapture();
    Select(POINT{396, 296}, POINT{700, 500});
    {
        // Held past the program's patience: the capture stays open.
        ClipboardHolder holder(1600);
        ASSERT_TRUE(holder.Held());
        DoubleClick(550, 400);
        Idle(300);
        EXPECT_TRUE(program_->Running()) << "the capture ended with nothing copied";
    }
    {
        // Held for a moment: the copy arrives once it is free.
        ClipboardHolder holder(400);
        ASSERT_TRUE(holder.Held());
        DoubleClick(550, 400);
    }
    ExpectEnds();
    EXPECT_EQ("", ClipboardShows(400, 300, 700, 500));
}

TEST_F(ToolBar, AClipboardHeldFor300MsAtFinishStillGetsThePicture) {
    StartCapture();
    const Bar bar = Select(POINT{396, 296}, POINT{700, 500});
    {
        ClipboardHolder holder(300);
        ASSERT_TRUE(holder.Held());
        ClickButton(bar, kFinish);
    }
    ExpectEnds();
    EXPECT_EQ("", ClipboardShows(400, 300, 700, 500));
}
