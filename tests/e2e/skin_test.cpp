// The skin pictures beside the executable may be missing or broken: the
// capture must still work and show the frozen screen, undimmed.
#include "tests/e2e/Driver.h"

using namespace e2e;

namespace {

const char* const kSkinFiles[] = {"back.jpg",  "icon_bg.png", "rectangle.png", "round.png", "arrow.png", "font.png",
                                  "pen.png",   "return.png",  "save.png",      "close.png", "finish.png", "pop_bg.png",
                                  "one.png",   "mid.png",     "big.png",       "color.png"};

class Skin : public Fixture {
protected:
    void SetUp() override {
        Fixture::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_FALSE(folder_.Path().empty()) << "no temp folder";
        exe_ = CopyProgramTo(folder_.Path());
        ASSERT_FALSE(exe_.empty()) << "could not copy the program to " << folder_.Path();
    }

    // Every skin file replaced by bytes no decoder accepts; some begin like
    // the real format so the decoders get past the signature.
    void WriteGarbageSkin() {
        std::string dir = folder_ / "skinScreen";
        ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
        uint32_t seed = 1;
        for (const char* name : kSkinFiles) {
            std::string bytes = RandomBytes(300 + 97 * seed, seed, false);
            if (seed % 2 == 0) {
                std::string jpeg = "\xFF\xD8\xFF\xE0";
                std::string png = "\x89PNG\r\n\x1A\n";
                bytes = (std::string(name).find(".jpg") != std::string::npos ? jpeg : png) + bytes;
            }
            ASSERT_TRUE(WriteFileBytes(dir + "\\" + name, bytes)) << name;
            ++seed;
        }
    }

    void ExpectFrozenCapture() {
        Program program("", exe_, folder_.Path());
        ASSERT_TRUE(program.Started()) << program.StartError();
        ASSERT_NE(program.WaitCaptures(1, 3000), nullptr)
            << "no capture window within 3 s; " << program.Summary();
        EXPECT_EQ(WaitScreenShows(Pattern::First, 1000, "capture"), "");
        pattern_->Show(Pattern::Second);
        EXPECT_EQ(ScreenKeepsShowing(Pattern::First, 300, "frozen"), "");
        EXPECT_TRUE(program.Running()) << program.Summary();
    }

    // Drags a selection from (400, 300) to (800, 600): with no usable back.jpg
    // nothing around the selection is dimmed.
    void ExpectSelectionUndimmed() {
        Program program("", exe_, folder_.Path());
        ASSERT_TRUE(program.Started()) << program.StartError();
        ASSERT_NE(program.WaitCaptures(1, 3000), nullptr)
            << "no capture window within 3 s; " << program.Summary();
        ASSERT_EQ(WaitScreenShows(Pattern::First, 1000, "capture"), "");

        Drag(POINT{400, 300}, POINT{800, 600}, 12);
        Idle(200);
        ASSERT_TRUE(program.Running()) << program.Summary();

        // Well away from the selection, its frame, any label above it and
        // any toolbar or magnifier beside or below it.
        const int w = ScreenWidth(), h = ScreenHeight();
        const std::vector<Area> outside = {
            {0, 0, w, 200},      // above
            {0, 0, 300, h},      // left
            {0, 900, w, h},      // below
            {1200, 0, w, h},     // right
        };
        EXPECT_EQ(WaitScreenShows(Pattern::First, 1000, "outside", outside), "");

        // The drag was taken as a selection: its frame shows on its edges.
        std::vector<Area> edges = {{394, 294, 806, 306}, {394, 594, 806, 606}, {394, 294, 406, 606}, {794, 294, 806, 606}};
        Pixels shot = GrabScreen();
        EXPECT_NE(ScreenVsPattern(shot, Pattern::First, edges), "") << "no selection frame around (400,300)-(800,600)";
        EXPECT_TRUE(program.Running()) << program.Summary();
    }

    TempFolder folder_;
    std::string exe_;
};

}  // namespace

TEST_F(Skin, MissingFolderStillCapturesFrozenScreen) { ExpectFrozenCapture(); }

TEST_F(Skin, GarbageFilesStillCaptureFrozenScreen) {
    ASSERT_NO_FATAL_FAILURE(WriteGarbageSkin());
    ExpectFrozenCapture();
}

TEST_F(Skin, MissingFolderSelectionLeavesOutsideUndimmed) { ExpectSelectionUndimmed(); }

TEST_F(Skin, GarbageFilesSelectionLeavesOutsideUndimmed) {
    ASSERT_NO_FATAL_FAILURE(WriteGarbageSkin());
    ExpectSelectionUndimmed();
}
